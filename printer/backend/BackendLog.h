// Messages to CUPS: one line each on standard error, the first word says what kind.
// What CUPS does with them decides what may be in them:
//   ERROR, WARNING  the error log, and the job's state message, which CUPS keeps after the
//                   job; every local user can list it (the job's owner stays hidden)
//   INFO            the queue's status, which every local user can read at any time: it
//                   never carries a path or a document's name
//   DEBUG           the error log at debug level, which only administrators read
// Each ERROR and WARNING line is followed at once by an empty INFO line, so the queue's
// status never keeps what the job's message says.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest line (without its line feed) the backend writes: far below the 2047 bytes
// cupsd reads as one line, so no part of a message is ever taken for a line of its own.
constexpr size_t CUPS_LINE_BYTES = 1024;

// The text made safe to print wherever CUPS shows it: each ASCII control byte and each
// byte that is not part of well-formed UTF-8 is written as \xNN; C1 controls, line and
// paragraph separators, bidirectional formatting and invisible characters as \uXXXX (or
// \UXXXXXXXX); a backslash as \\, so no text can pass for an escape. So a name from a
// ticket can never start a line of its own (and with it a message of another kind), drive
// a terminal, turn the text around or hide a part of it. Where no one reads the escapes
// back (a report for the user), bKeepBackslash leaves backslashes as they are.
std::string Printable(std::string_view text, bool bKeepBackslash = false);

// One message as the line CUPS receives: "KIND: " and the printable text, cut to
// CUPS_LINE_BYTES (after escaping, never inside an escape or a character), with its line
// feed.
std::string CupsLine(std::string_view kind, std::string_view message);

void LogError(const std::string& strMessage);
void LogWarning(const std::string& strMessage);
void LogInfo(const std::string& strMessage);
void LogDebug(const std::string& strMessage);
