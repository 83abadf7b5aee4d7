// Works the controls of a dialog of another program as a user would, one step after the
// other, for the end-to-end checks of the printer product's applet:
//   DriveDialog.exe <caption prefix> <seconds> <step>...
// It waits up to the given seconds for a visible dialog whose caption begins with the
// prefix, then does each step:
//   select=ID:TEXT   selects the list box entry that begins with TEXT, as a click does
//   text=ID:TEXT     puts TEXT into the field
//   choose=ID:N      chooses entry N of the drop-down list
//   click=ID         presses the button, and waits until the dialog has handled it
// Exit code 0 when every step was done, 1 (with the step on standard error) otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
    const char* pszPrefix;
    HWND hFound;
};

BOOL CALLBACK FindByCaption(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<Search*>(lParam);
    char szClass[16] = "";
    char szCaption[512] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    GetWindowTextA(hWnd, szCaption, sizeof szCaption);
    if (std::strcmp(szClass, "#32770") == 0 && IsWindowVisible(hWnd) &&
        std::strncmp(szCaption, pSearch->pszPrefix, std::strlen(pSearch->pszPrefix)) == 0) {
        pSearch->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// Sends and waits, but never for ever: a dialog that hangs fails the step.
bool Send(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult = nullptr) {
    DWORD_PTR dwResult = 0;
    if (!SendMessageTimeoutA(hWnd, uMsg, wParam, lParam, SMTO_NORMAL, 30000, &dwResult))
        return false;
    if (pResult)
        *pResult = static_cast<LRESULT>(dwResult);
    return true;
}

bool DoStep(HWND hDlg, const std::string& strStep) {
    const size_t nEquals = strStep.find('=');
    if (nEquals == std::string::npos)
        return false;
    const std::string strVerb = strStep.substr(0, nEquals);
    const std::string strRest = strStep.substr(nEquals + 1);
    const size_t nColon = strRest.find(':');
    const int nID = std::atoi(strRest.substr(0, nColon).c_str());
    const std::string strArgument = nColon == std::string::npos ? "" : strRest.substr(nColon + 1);
    HWND hControl = GetDlgItem(hDlg, nID);
    if (!hControl)
        return false;
    LRESULT nResult = 0;
    if (strVerb == "select")
        return Send(hControl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(strArgument.c_str()), &nResult) &&
               nResult != LB_ERR &&
               Send(hDlg, WM_COMMAND, MAKEWPARAM(nID, LBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(hControl));
    if (strVerb == "text")
        return Send(hControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strArgument.c_str()));
    if (strVerb == "choose")
        return Send(hControl, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(strArgument.c_str())),
                    0, &nResult) &&
               nResult != CB_ERR;
    if (strVerb == "click")
        return IsWindowEnabled(hControl) && Send(hControl, BM_CLICK, 0, 0);
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: DriveDialog <caption prefix> <seconds> <step>...\n");
        return 2;
    }
    Search search{argv[1], nullptr};
    for (int i = 0; i < std::atoi(argv[2]) * 10 && !search.hFound; ++i) {
        EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&search));
        if (!search.hFound)
            Sleep(100);
    }
    if (!search.hFound) {
        std::fprintf(stderr, "DriveDialog: no dialog \"%s...\"\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i)
        if (!DoStep(search.hFound, argv[i])) {
            std::fprintf(stderr, "DriveDialog: step %s failed\n", argv[i]);
            return 1;
        }
    return 0;
}
