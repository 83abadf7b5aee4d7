// Waits for the "Speichern unter" dialog in any program of the Wine session, prints the
// folder it shows and the suggested name ("folder|name"), and then answers it: with
// "save PATH" it types PATH as the name and saves (pressing Yes, or No with "save PATH no",
// when the dialog asks before replacing a file), with "cancel" it cancels, with "print"
// it leaves the dialog open. Used by the end-to-end checks.
//   SaveAs.exe <seconds> print | cancel | save PATH [yes|no]
// Exit code 0 when the dialog was there and answered, 1 when none appeared in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char CAPTION[] = "Speichern unter";
// The common dialog's controls: the folder list and the file name box.
const int FOLDER_COMBO = 0x471;
const int NAME_BOX = 0x47C;

HWND WaitForDialog(const char* pszCaption, int nTenths, HWND hNot = nullptr) {
    for (int i = 0; i < nTenths; ++i) {
        for (HWND hWnd = FindWindowExA(nullptr, nullptr, "#32770", pszCaption); hWnd;
             hWnd = FindWindowExA(nullptr, hWnd, "#32770", pszCaption))
            if (hWnd != hNot && IsWindowVisible(hWnd))
                return hWnd;
        Sleep(100);
    }
    return nullptr;
}

// The edit control of the file name box (a combo box holding it).
HWND NameEdit(HWND hDialog) {
    HWND hBox = GetDlgItem(hDialog, NAME_BOX);
    HWND hEdit = FindWindowExA(hBox, nullptr, "Edit", nullptr);
    if (!hEdit) {
        HWND hCombo = FindWindowExA(hBox, nullptr, "ComboBox", nullptr);
        hEdit = hCombo ? FindWindowExA(hCombo, nullptr, "Edit", nullptr) : nullptr;
    }
    return hEdit ? hEdit : hBox;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: SaveAs <seconds> print | cancel | save PATH [yes|no]\n");
        return 2;
    }
    HWND hDialog = WaitForDialog(CAPTION, std::atoi(argv[1]) * 10);
    if (!hDialog)
        return 1;
    char szFolder[MAX_PATH] = "";
    char szName[MAX_PATH] = "";
    // The dialog fills its boxes after it shows.
    for (int i = 0; i < 30 && (!szName[0] || !szFolder[0]); ++i) {
        Sleep(i == 0 ? 0 : 100);
        GetDlgItemTextA(hDialog, FOLDER_COMBO, szFolder, sizeof szFolder);
        // Another process's edit control tells its text only when asked with WM_GETTEXT.
        SendMessageA(NameEdit(hDialog), WM_GETTEXT, sizeof szName,
                     reinterpret_cast<LPARAM>(szName));
    }
    std::printf("%s|%s\n", szFolder, szName);
    std::fflush(stdout);
    if (std::strcmp(argv[2], "cancel") == 0) {
        SendMessageA(GetDlgItem(hDialog, IDCANCEL), BM_CLICK, 0, 0);
    } else if (std::strcmp(argv[2], "save") == 0 && argc > 3) {
        SendMessageA(NameEdit(hDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
        PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDialog, IDOK)));
        // Asked before replacing: a box of the same caption over the dialog.
        if (HWND hAsk = WaitForDialog(CAPTION, 20, hDialog)) {
            const bool bYes = argc <= 4 || std::strcmp(argv[4], "no") != 0;
            SendMessageA(GetDlgItem(hAsk, bYes ? IDYES : IDNO), BM_CLICK, 0, 0);
            std::printf("asked before replacing: %s\n", bYes ? "yes" : "no");
        }
    }
    return 0;
}
