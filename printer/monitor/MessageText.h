// The text of the box in which the session program tells the user what the printer side
// reported: one message as it came, several gathered into one box.
#pragma once

#include "printer/session/SessionProtocol.h"

#include <string>
#include <vector>

// How many messages one box shows in full; of more it says how many are left out.
constexpr size_t MESSAGES_SHOWN = 5;

// UTF-8: each message's lines one paragraph each; several messages under a line that says
// how many there are, each after a blank line, at most MESSAGES_SHOWN of them.
std::string MessageBoxText(const std::vector<SessionMessage>& messages);
