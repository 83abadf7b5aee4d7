// What the session program does with the files the printer side leaves in its folder:
// a message becomes a box, a question the "Speichern unter" dialog and an answer.
#pragma once

#include "printer/monitor/MessageBoxes.h"
#include "printer/monitor/SessionFolder.h"

#include <cstdint>
#include <map>
#include <string>

class SessionMonitor {
public:
    SessionMonitor(SessionFolder& folder, HWND hOwner) : m_folder(folder), m_hOwner(hOwner) {}

    // Looks at the folder once: shows each new message, asks each new question (one
    // dialog after the other), and removes what no job waits for any more.
    void HandlePending();

private:
    void Answer(const std::string& strKey, const std::string& strQuestion);

    SessionFolder& m_folder;
    HWND m_hOwner;
    MessageBoxes m_boxes;
    // The questions answered, while they are there, with their deadlines.
    std::map<std::string, int64_t> m_asked;
    bool m_bAsking = false;
};
