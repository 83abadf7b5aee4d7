#include "framework/WinApp.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {
CWinApp* g_pApp = nullptr;
} // namespace

CWinApp::CWinApp() : m_pPreviousApp(g_pApp) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = m_pPreviousApp;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return 0;
}

bool CWinApp::OnCmdMsg(UINT) {
    return false;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    // The C runtime has already split the command line (quotes group words).
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.emplace_back(__argv[i]);
    ParseCommandLineArguments(info, args);
}

void CWinApp::OnHelp() {
    if (!m_pMainWnd || !m_pMainWnd->m_hWnd)
        return;
    HWND hActive = GetActiveWindow();
    m_pMainWnd->WinHelp(hActive ? GetWindowContextHelpId(hActive) : 0, HELP_CONTEXT);
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

int AfxWinMain(HINSTANCE hInstance, int) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    // The application runs its one modal window inside InitInstance and returns FALSE.
    pApp->InitInstance();
    return pApp->ExitInstance();
}
