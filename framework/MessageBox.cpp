#include "framework/MessageBox.h"

#include <utility>

namespace {
MessageBoxHook g_messageBoxHook;
BeepHook g_beepHook;
} // namespace

int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                   UINT nType, WORD wLanguage) {
    if (g_messageBoxHook)
        return g_messageBoxHook(MessageBoxRequest{hOwner, strText, strCaption, nType, wLanguage});
    if (wLanguage != 0)
        return MessageBoxExA(hOwner, strText.c_str(), strCaption.c_str(), nType, wLanguage);
    return MessageBoxA(hOwner, strText.c_str(), strCaption.c_str(), nType);
}

void SoundBeep(UINT nType) {
    if (g_beepHook)
        g_beepHook(nType);
    else
        MessageBeep(nType);
}

void SetMessageBoxHook(MessageBoxHook hook) {
    g_messageBoxHook = std::move(hook);
}

void SetBeepHook(BeepHook hook) {
    g_beepHook = std::move(hook);
}
