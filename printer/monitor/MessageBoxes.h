// The boxes in which the session program tells the user what the printer side reported.
// One box at a time, on a thread of its own, so questions are asked while it is open;
// what arrives meanwhile is gathered into the next box, so a batch of failures gives two
// boxes at most, not one each.
#pragma once

#include "printer/session/SessionProtocol.h"

#include <mutex>
#include <vector>

class MessageBoxes {
public:
    void Show(const SessionMessage& message);

private:
    void ShowWhilePending();

    std::mutex m_mutex;
    std::vector<SessionMessage> m_pending;
    bool m_bShowing = false;
};
