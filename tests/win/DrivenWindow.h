// A modal window run for real on the test's thread while a driver works it from a helper
// thread, as a user would; however the driver returns, the window is then ended.
//   RunDriven          runs the modal code and the driver
//   EndAfterDriver     the usual ending: the window must be gone soon after its driver
//   CloseThreadDialogs asks every dialog of the window's thread to close
//   RunEndingByItself  runs modal code that must end without a driver, rescued if not
#pragma once

#include "Waiting.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

inline void CloseThreadDialogs(HWND hWnd) {
    EnumThreadWindows(
        GetWindowThreadProcessId(hWnd, nullptr),
        [](HWND hDialog, LPARAM) {
            char szClass[16] = "";
            GetClassNameA(hDialog, szClass, sizeof szClass);
            if (std::strcmp(szClass, "#32770") == 0)
                PostMessageA(hDialog, WM_CLOSE, 0, 0);
            return TRUE;
        },
        0);
}

// A driver ends its window itself. One that returned early (a failed ASSERT) or left the
// window open has every dialog of the window's thread asked to close, nested ones too.
inline void EndAfterDriver(HWND hWnd) {
    if (!::testing::Test::HasFatalFailure()) {
        if (WaitUntil("the window to go after its driver", [&] { return !IsWindow(hWnd); }))
            return;
        ADD_FAILURE() << "the window was still open " << kWaitMs / 1000
                      << " s after its driver ended";
    }
    CloseThreadDialogs(hWnd);
}

// Runs modal() on this thread and the driver on another, once a dialog with the caption is
// visible. After the driver, on every way out of it, ending(hWnd) runs: it must make
// modal() return, or the test would wait for ever.
template <typename Modal>
auto RunDriven(const char* pszCaption, Modal modal, const std::function<void(HWND)>& driver,
               const std::function<void(HWND)>& ending = EndAfterDriver) {
    std::thread thread([&] {
        HWND hWnd = WaitForWindow(pszCaption);
        if (!hWnd) {
            ADD_FAILURE() << "no window \"" << pszCaption << "\" came up";
            return;
        }
        driver(hWnd);
        ending(hWnd);
    });
    WaitNote note(std::string("the window \"") + pszCaption + "\" to end");
    auto result = modal();
    thread.join();
    return result;
}

// Runs modal() on this thread; it must return by itself soon. If it does not, that is a
// failure, and rescue() runs on another thread to make it return.
template <typename Modal>
auto RunEndingByItself(const char* pszWhat, Modal modal, const std::function<void()>& rescue) {
    std::atomic<bool> bEnded{false};
    std::thread watcher([&] {
        if (WaitUntil(pszWhat, [&] { return bEnded.load(); }))
            return;
        ADD_FAILURE() << pszWhat << ": not within " << kWaitMs / 1000 << " s";
        rescue();
    });
    auto result = modal();
    bEnded = true;
    watcher.join();
    return result;
}
