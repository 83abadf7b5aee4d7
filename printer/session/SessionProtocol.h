// The channel between the printer side and the printer product's session program: small
// text files in a folder of the Wine prefix, in a format both sides read strictly. The
// printer side writes a question (where to save a PDF) or a message (a conversion
// failed); the session program answers a question in a file of its own. Every file is
// UTF-8 with LF line ends, at most SESSION_FILE_MAX_BYTES long, each line "Key: value".
//
//   <job>.frage     Veltrane Quillon: Speichern unter / Auftrag: <job> /
//                   Vorschlag: <Windows path> / Frist: <seconds since 1970>
//   <job>.antwort   Veltrane Quillon: Antwort / Auftrag: <job> /
//                   Ziel: <Windows path> / Ersetzen: ja|nein     (or Ziel: - when cancelled)
//   <job>.meldung   Veltrane Quillon: Meldung / Auftrag: <job> / Text: <line> (one or more)
//
// <job> is the job's key: CUPS's job number, a hyphen and 16 random hexadecimal digits,
// so no file of one job can be taken for another's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The session program's folder, below the Wine prefix's common application data
// ("C:\ProgramData").
constexpr const char* SESSION_FOLDER = "Veltrane Quillon\\Sitzung";
// The file the session program keeps locked while it runs: the printer side asks only
// while someone holds the lock.
constexpr const char* SESSION_LOCK_FILE = "aktiv";
constexpr size_t SESSION_FILE_MAX_BYTES = 4096;

constexpr const char* QUESTION_SUFFIX = ".frage";
constexpr const char* ANSWER_SUFFIX = ".antwort";
constexpr const char* MESSAGE_SUFFIX = ".meldung";

// Where to save a job's PDF, and until when the printer side waits for the answer.
struct SaveQuestion {
    std::string strJob;
    std::string strSuggestion; // the Windows path suggested, the name with ".pdf"
    int64_t nDeadline = 0;     // seconds since 1970, UTC
};

// The user's answer: a Windows path, and whether the user agreed to replace the file
// there; or cancelled (strTarget empty).
struct SaveAnswer {
    std::string strJob;
    std::string strTarget;
    bool bReplace = false;
    bool Cancelled() const { return strTarget.empty(); }
};

// What the user is to be told: lines of text.
struct SessionMessage {
    std::string strJob;
    std::vector<std::string> lines;
};

// A job's key from CUPS's job number (digits only; anything else counts as 0) and 8
// random bytes.
std::string MakeJobKey(std::string_view jobId, const unsigned char (&random)[8]);
// True for a well-formed key: 1 to 10 digits, a hyphen, 16 lower-case hexadecimal digits.
bool IsJobKey(std::string_view key);

// The key of a file name "<key><suffix>"; nullopt for any other name.
std::optional<std::string> JobKeyOf(std::string_view fileName, std::string_view suffix);

std::string FormatQuestion(const SaveQuestion& question);
std::string FormatAnswer(const SaveAnswer& answer);
std::string FormatSessionMessage(const SessionMessage& message);

// Each parser takes only the exact format: the first line, every key once in its order,
// nothing after the last line's line feed, no control character in a value, no empty
// value, at most SESSION_FILE_MAX_BYTES. nullopt, reason in strError, otherwise.
std::optional<SaveQuestion> ParseQuestion(std::string_view text, std::string& strError);
std::optional<SaveAnswer> ParseAnswer(std::string_view text, std::string& strError);
std::optional<SessionMessage> ParseSessionMessage(std::string_view text, std::string& strError);
