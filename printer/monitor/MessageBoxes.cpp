#include "printer/monitor/MessageBoxes.h"

#include "printer/monitor/MessageText.h"
#include "printer/monitor/Wide.h"

#include <windows.h>

#include <thread>

void MessageBoxes::Show(const SessionMessage& message) {
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.push_back(message);
    if (m_bShowing)
        return;
    m_bShowing = true;
    // The box stays until the user closes it; the program may end meanwhile.
    std::thread([this] { ShowWhilePending(); }).detach();
}

void MessageBoxes::ShowWhilePending() {
    for (;;) {
        std::vector<SessionMessage> batch;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (m_pending.empty()) {
                m_bShowing = false;
                return;
            }
            batch.swap(m_pending);
        }
        MessageBoxW(nullptr, Widen(MessageBoxText(batch)).c_str(), L"Veltrane Quillon",
                    MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
    }
}
