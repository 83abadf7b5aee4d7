// Waits for a message box with the given caption in any program of the Wine session,
// prints its text, presses a button and exits. Used by the black-box checks.
//   BoxWatch.exe <caption> [seconds] [button id]
// The caption "-" takes the first dialog of any caption and prints "[caption] text";
// button 0 presses nothing. Of several dialogs with the caption (a message box over a
// window of the same caption) the one that has the button is taken. A button that is off
// is pressed once it comes on.
// Exit code 0 when a box was answered, 1 when none appeared, or its button did not come
// on, in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The first visible dialog with the caption (any caption for null), in Z order, so a
// topmost message box comes first; one that has the button wins.
HWND FindDialog(const char* pszCaption, int nButton) {
    HWND hFirst = nullptr;
    for (HWND hWnd = FindWindowExA(nullptr, nullptr, "#32770", pszCaption); hWnd;
         hWnd = FindWindowExA(nullptr, hWnd, "#32770", pszCaption)) {
        if (!IsWindowVisible(hWnd))
            continue;
        if (nButton != 0 && GetDlgItem(hWnd, nButton))
            return hWnd;
        if (!hFirst)
            hFirst = hWnd;
    }
    return hFirst;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: BoxWatch <caption> [seconds] [button id]\n");
        return 2;
    }
    const char* pszCaption = argv[1];
    int nSeconds = argc > 2 ? std::atoi(argv[2]) : 20;
    int nButton = argc > 3 ? std::atoi(argv[3]) : IDOK;

    bool bAnyCaption = std::strcmp(pszCaption, "-") == 0;
    for (int i = 0; i < nSeconds * 10; ++i) {
        HWND hBox = FindDialog(bAnyCaption ? nullptr : pszCaption, nButton);
        if (hBox) {
            if (bAnyCaption) {
                char szCaption[512] = "";
                GetWindowTextA(hBox, szCaption, sizeof szCaption);
                std::printf("[%s] ", szCaption);
            }
            // A message box keeps its text in the static control 0xFFFF.
            char szText[4096] = "";
            GetDlgItemTextA(hBox, 0xFFFF, szText, sizeof szText);
            std::fwrite(szText, 1, std::strlen(szText), stdout);
            std::fflush(stdout);
            if (nButton == 0)
                return 0;
            HWND hButton = GetDlgItem(hBox, nButton);
            if (!hButton) {
                PostMessageA(hBox, WM_COMMAND, nButton, 0);
                return 0;
            }
            // A click on a button that is off does nothing.
            for (; i < nSeconds * 10 && !IsWindowEnabled(hButton); ++i)
                Sleep(100);
            if (!IsWindowEnabled(hButton))
                return 1;
            SendMessageA(hButton, BM_CLICK, 0, 0);
            return 0;
        }
        Sleep(100);
    }
    return 1;
}
