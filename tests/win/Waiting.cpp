#include "Waiting.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_waitsMutex;
std::map<unsigned, std::string> g_waits; // ids grow, so the map keeps the waits in order
unsigned g_nNextWait = 0;

} // namespace

WaitNote::WaitNote(std::string strWhat) {
    std::lock_guard<std::mutex> lock(g_waitsMutex);
    m_nId = g_nNextWait++;
    g_waits.emplace(m_nId, std::move(strWhat));
}

WaitNote::~WaitNote() {
    std::lock_guard<std::mutex> lock(g_waitsMutex);
    g_waits.erase(m_nId);
}

std::vector<std::string> CurrentWaits() {
    std::lock_guard<std::mutex> lock(g_waitsMutex);
    std::vector<std::string> waits;
    for (const auto& wait : g_waits)
        waits.push_back(wait.second);
    return waits;
}

bool WaitUntil(const std::string& strWhat, const std::function<bool()>& pred, DWORD dwMs) {
    WaitNote note(strWhat);
    DWORD dwStart = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - dwStart > dwMs)
            return pred();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
    return true;
}

::testing::AssertionResult Eventually(const char* pszWhat, const std::function<bool()>& pred) {
    if (WaitUntil(pszWhat, pred))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << pszWhat << " still false after " << kWaitMs / 1000 << " s";
}

HWND WaitForWindow(const char* pszCaption) {
    HWND hWnd = nullptr;
    WaitUntil(std::string("a window \"") + pszCaption + "\"", [&] {
        hWnd = FindWindowA("#32770", pszCaption);
        return hWnd && IsWindowVisible(hWnd);
    });
    return hWnd && IsWindowVisible(hWnd) ? hWnd : nullptr;
}
