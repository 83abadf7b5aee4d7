// The one way the program shows a message box or beeps, so tests can watch and answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct MessageBoxRequest {
    HWND hOwner;
    std::string strText;
    std::string strCaption;
    UINT nType;     // MB_* flags
    WORD wLanguage; // 0: MessageBoxA; otherwise MessageBoxExA with this language
};

// Shows a box and returns the button pressed (IDOK, IDYES, ...).
int ShowMessageBox(HWND hOwner, const std::string& strText, const std::string& strCaption,
                   UINT nType, WORD wLanguage = 0);

// MessageBeep through the same seam.
void SoundBeep(UINT nType);

// Tests replace the real boxes and beeps; an empty function restores them.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
using BeepHook = std::function<void(UINT)>;
void SetMessageBoxHook(MessageBoxHook hook);
void SetBeepHook(BeepHook hook);
