#include "ui/FileOpenCommand.h"

#include "app/ConverterApp.h"
#include "engine/BatchDrivers.h"
#include "framework/ResourceString.h"
#include "res/resource.h"
#include "ui/ConverterDialog.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {
OpenFileDialogHook g_openFileDialogHook;
} // namespace

BOOL ShowOpenFileDialog(OPENFILENAMEA& ofn) {
    return g_openFileDialogHook ? g_openFileDialogHook(ofn) : GetOpenFileNameA(&ofn);
}

OpenFileDialogHook SetOpenFileDialogHook(OpenFileDialogHook hook) {
    return std::exchange(g_openFileDialogHook, std::move(hook));
}

void OnFileOpen() {
    ConverterApp& app = GetConverterApp();
    auto* pWindow = dynamic_cast<ConverterDialog*>(app.m_pMainWnd);
    // One batch at a time: the menu command is off while one runs.
    if (pWindow && pWindow->IsBatchRunning())
        return;

    // The filter's pairs are separated by "|" in the resource and by NUL bytes here.
    std::string strFilter = LoadResourceString(IDS_OPEN_FILTER);
    std::replace(strFilter.begin(), strFilter.end(), '|', '\0');
    const std::string strTitle = LoadResourceString(IDS_OPEN_TITLE);
    char szFileTitle[256] = "";
    g_szOpenFileName[0] = '\0';

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = app.m_pMainWnd ? app.m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = strFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = g_szOpenFileName;
    ofn.nMaxFile = 254;
    ofn.lpstrFileTitle = szFileTitle;
    ofn.nMaxFileTitle = 254;
    ofn.lpstrTitle = strTitle.c_str();
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
    if (!ShowOpenFileDialog(ofn) || !pWindow)
        return;
    app.LoadSettings();
    pWindow->StartBatch(ConvertOpenedFile, g_szOpenFileName);
}
