#include "ui/LocalisedTextWin.h"

#include "framework/ResourceString.h"
#include "ui/LocalisedText.h"

namespace {
constexpr int kSlotCount = 4;
constexpr int kSlotSize = 512;
char g_aszSlots[kSlotCount][kSlotSize];
int g_nSlot = 0;
} // namespace

const char* LoadExpandedString(UINT nID) {
    if (++g_nSlot >= kSlotCount)
        g_nSlot = 0;
    char* pszSlot = g_aszSlots[g_nSlot];
    pszSlot[0] = '\0';
    LoadStringA(AfxGetResourceHandle(), nID, pszSlot, kSlotSize);
    return ExpandPlaceholders(pszSlot, kSlotSize);
}

void ExpandWindowText(HWND hWnd) {
    if (!hWnd)
        return;
    char szText[1024];
    szText[0] = '\0';
    GetWindowTextA(hWnd, szText, sizeof szText);
    SetWindowTextA(hWnd, ExpandPlaceholders(szText, sizeof szText));
}
