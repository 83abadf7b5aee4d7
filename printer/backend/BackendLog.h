// Messages to CUPS: one line each on standard error, the first word says what kind
// ("ERROR:" lines go to the error log and the job's state message).
#pragma once

#include <string>
#include <string_view>

// The text made safe to print wherever CUPS shows it: each ASCII control byte and each
// byte that is not part of well-formed UTF-8 is written as \xNN; each C1 control, line or
// paragraph separator and bidirectional formatting character as \uXXXX. So a name from a
// ticket can never start a line of its own (and with it a message of another kind), drive
// a terminal or turn the text around.
std::string Printable(std::string_view text);

void LogError(const std::string& strMessage);
void LogWarning(const std::string& strMessage);
void LogInfo(const std::string& strMessage);
void LogDebug(const std::string& strMessage);
