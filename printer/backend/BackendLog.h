// Messages to CUPS: one line each on standard error, the first word says what kind
// ("ERROR:" lines go to the error log and the job's state message).
#pragma once

#include <string>
#include <string_view>

// The text with every control byte written as \xNN, so a name from a ticket can never
// start a line of its own (and with it a message of another kind).
std::string Printable(std::string_view text);

void LogError(const std::string& strMessage);
void LogInfo(const std::string& strMessage);
void LogDebug(const std::string& strMessage);
