// Message maps: a static table per class from message (or command id) to a typed handler,
// and the one function that dispatches through it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "framework/Wnd.h"

#include <type_traits>
#include <variant>

// The handler shapes the program's windows use.
template <class T>
using MessageHandler = std::variant<void (T::*)(),                 // commands, WM_DESTROY
                                    bool (T::*)(),                 // false: default handling
                                    void (T::*)(HDROP),            // WM_DROPFILES
                                    bool (T::*)(UINT, LPARAM),     // WM_SYSCOMMAND
                                    HCURSOR (T::*)(),              // WM_QUERYDRAGICON
                                    BOOL (T::*)(HWND, UINT, UINT), // WM_SETCURSOR; FALSE: default
                                    HBRUSH (T::*)(HDC)>;           // WM_REFLECT_CTLCOLOR

// One row: the message, its handler and, for WM_COMMAND and WM_REFLECT_COMMAND, the
// control or command id and the notification code (0: a click or a menu command).
template <class T> struct MessageMapEntry {
    UINT nMessage;
    MessageHandler<T> pfn;
    UINT nID = 0;
    UINT nCode = 0;
};

// Menu commands (no control) and accelerators count as code 0, like button clicks.
inline UINT CommandCode(WPARAM wParam, LPARAM lParam) {
    return lParam == 0 ? 0 : HIWORD(wParam);
}

template <class T, size_t N>
bool DispatchMessageMap(T* pThis, const MessageMapEntry<T> (&map)[N], UINT message, WPARAM wParam,
                        LPARAM lParam, LRESULT& lResult) {
    for (const MessageMapEntry<T>& entry : map) {
        if (entry.nMessage != message)
            continue;
        if (message == WM_COMMAND &&
            (LOWORD(wParam) != entry.nID || CommandCode(wParam, lParam) != entry.nCode))
            continue;
        if (message == WM_REFLECT_COMMAND && HIWORD(wParam) != entry.nCode)
            continue;
        return std::visit(
            [&](auto pfn) -> bool {
                using Pfn = decltype(pfn);
                if constexpr (std::is_same_v<Pfn, void (T::*)()>) {
                    (pThis->*pfn)();
                    return true;
                } else if constexpr (std::is_same_v<Pfn, bool (T::*)()>) {
                    return (pThis->*pfn)();
                } else if constexpr (std::is_same_v<Pfn, void (T::*)(HDROP)>) {
                    (pThis->*pfn)(reinterpret_cast<HDROP>(wParam));
                    return true;
                } else if constexpr (std::is_same_v<Pfn, bool (T::*)(UINT, LPARAM)>) {
                    return (pThis->*pfn)(static_cast<UINT>(wParam), lParam);
                } else if constexpr (std::is_same_v<Pfn, HCURSOR (T::*)()>) {
                    lResult = reinterpret_cast<LRESULT>((pThis->*pfn)());
                    return true;
                } else if constexpr (std::is_same_v<Pfn, BOOL (T::*)(HWND, UINT, UINT)>) {
                    lResult = (pThis->*pfn)(reinterpret_cast<HWND>(wParam), LOWORD(lParam),
                                            HIWORD(lParam));
                    return lResult != FALSE;
                } else {
                    static_assert(std::is_same_v<Pfn, HBRUSH (T::*)(HDC)>);
                    HBRUSH hBrush = (pThis->*pfn)(reinterpret_cast<HDC>(wParam));
                    lResult = reinterpret_cast<LRESULT>(hBrush);
                    return hBrush != nullptr;
                }
            },
            entry.pfn);
    }
    return false;
}

// The application's command table: command id to handler.
template <class T> struct CommandEntry {
    UINT nID;
    void (T::*pfn)();
};

template <class T, size_t N>
bool DispatchCommand(T* pThis, const CommandEntry<T> (&table)[N], UINT nID) {
    for (const CommandEntry<T>& entry : table) {
        if (entry.nID == nID) {
            (pThis->*entry.pfn)();
            return true;
        }
    }
    return false;
}
