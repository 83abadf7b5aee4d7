#include "printer/monitor/SaveAsDialog.h"

#include "printer/monitor/Wide.h"

#include <commdlg.h>

#include <vector>

namespace {

// The common dialogs, loaded only while the dialog is shown: comdlg32 brings Wine's
// winspool.drv along, and while any process of the session has that loaded, Wine imports
// no printer that CUPS added since (a queue set up while the program runs would stay
// unknown to every program of the prefix).
class CommonDialogs {
public:
    CommonDialogs() : m_hModule(LoadLibraryW(L"comdlg32.dll")) {}
    CommonDialogs(const CommonDialogs&) = delete;
    CommonDialogs& operator=(const CommonDialogs&) = delete;
    ~CommonDialogs() {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }

    template <class Function> Function* Get(const char* pszName) const {
        return m_hModule ? reinterpret_cast<Function*>(
                               reinterpret_cast<void*>(GetProcAddress(m_hModule, pszName)))
                         : nullptr;
    }

private:
    HMODULE m_hModule;
};

} // namespace

SaveAnswer AskWhereToSave(HWND hOwner, const SaveQuestion& question) {
    const std::wstring strSuggestion = Widen(question.strSuggestion);
    const size_t nSlash = strSuggestion.rfind(L'\\');
    const std::wstring strFolder =
        nSlash == std::wstring::npos ? std::wstring() : strSuggestion.substr(0, nSlash);
    const std::wstring strName =
        nSlash == std::wstring::npos ? strSuggestion : strSuggestion.substr(nSlash + 1);
    // Room for the longest path the wide calls take.
    std::vector<wchar_t> file(32768, L'\0');
    strName.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = L"PDF-Dateien (*.pdf)\0*.pdf\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = strFolder.empty() ? nullptr : strFolder.c_str();
    ofn.lpstrTitle = L"Speichern unter";
    ofn.lpstrDefExt = L"pdf";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                OFN_NOCHANGEDIR | OFN_NOREADONLYRETURN;

    SaveAnswer answer;
    answer.strJob = question.strJob;
    const CommonDialogs dialogs;
    const auto pGetSaveFileName = dialogs.Get<decltype(GetSaveFileNameW)>("GetSaveFileNameW");
    const auto pExtendedError = dialogs.Get<decltype(CommDlgExtendedError)>("CommDlgExtendedError");
    if (!pGetSaveFileName || !pExtendedError) {
        answer.strTarget = question.strSuggestion;
        return answer;
    }
    if (!pGetSaveFileName(&ofn)) {
        if (pExtendedError() != 0)
            answer.strTarget = question.strSuggestion;
        return answer;
    }
    answer.strTarget = Narrow(file.data());
    // The dialog asks before replacing a file that is there: it is there only when the
    // user agreed to replace it.
    const DWORD dwAttributes = GetFileAttributesW(file.data());
    answer.bReplace =
        dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    return answer;
}
