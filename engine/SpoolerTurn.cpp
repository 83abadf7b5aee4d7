#include "engine/SpoolerTurn.h"

#include "engine/JobControl.h"

namespace {

constexpr DWORD TURN_POLL_MS = 100;

} // namespace

SpoolerTurn::SpoolerTurn() : m_mutex(CreateMutexA(nullptr, FALSE, SPOOLER_TURN_MUTEX)) {
    if (!m_mutex.IsValid())
        return;
    for (;;) {
        // A program that ended while it had the turn leaves it abandoned: it is free.
        const DWORD dwWait = WaitForSingleObject(m_mutex.Get(), TURN_POLL_MS);
        if (dwWait == WAIT_OBJECT_0 || dwWait == WAIT_ABANDONED) {
            m_bTaken = true;
            break;
        }
        if (dwWait != WAIT_TIMEOUT) {
            m_mutex.Close(); // cannot wait on it: go ahead without the turn
            break;
        }
        if (g_bCancelRequested)
            break;
        g_bJobHeld = true;
    }
    g_bJobHeld = false;
}

SpoolerTurn::~SpoolerTurn() {
    if (m_bTaken)
        ReleaseMutex(m_mutex.Get());
}
