#include "printer/session/SessionProtocol.h"

namespace {

constexpr std::string_view QUESTION_HEAD = "Veltrane Quillon: Speichern unter";
constexpr std::string_view ANSWER_HEAD = "Veltrane Quillon: Antwort";
constexpr std::string_view MESSAGE_HEAD = "Veltrane Quillon: Meldung";
// The target of a cancelled answer.
constexpr std::string_view CANCELLED = "-";
constexpr size_t MAX_KEY_DIGITS = 10;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsLowerHex(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f');
}

std::string Line(std::string_view key, std::string_view value) {
    return std::string(key) + ": " + std::string(value) + "\n";
}

// The lines of a file, each without its line feed; nullopt when the text is too long,
// does not end with a line feed, or holds a control character other than the line feeds
// (a carriage return, a NUL).
std::optional<std::vector<std::string_view>> SplitLines(std::string_view text,
                                                        std::string& strError) {
    if (text.size() > SESSION_FILE_MAX_BYTES) {
        strError = "longer than " + std::to_string(SESSION_FILE_MAX_BYTES) + " bytes";
        return std::nullopt;
    }
    if (text.empty() || text.back() != '\n') {
        strError = "does not end with a line feed";
        return std::nullopt;
    }
    std::vector<std::string_view> lines;
    size_t nStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b == '\n') {
            lines.push_back(text.substr(nStart, i - nStart));
            nStart = i + 1;
        } else if (b < 0x20 || b == 0x7F) {
            strError = "holds a control character";
            return std::nullopt;
        }
    }
    return lines;
}

// Reads the lines in order: the head, then "key: value" lines.
class LineReader {
public:
    LineReader(std::vector<std::string_view> lines, std::string& strError)
        : m_lines(std::move(lines)), m_strError(strError) {}

    bool Head(std::string_view head) {
        if (m_lines.empty() || m_lines[0] != head)
            return Fail("does not begin with \"" + std::string(head) + "\"");
        m_nNext = 1;
        return true;
    }

    // The value of the next line, which must have the key and a value that is not empty.
    std::optional<std::string> Value(std::string_view key) {
        if (m_nNext >= m_lines.size()) {
            Fail("has no line \"" + std::string(key) + "\"");
            return std::nullopt;
        }
        const std::string_view line = m_lines[m_nNext];
        const std::string prefix = std::string(key) + ": ";
        if (line.size() <= prefix.size() || line.substr(0, prefix.size()) != prefix) {
            Fail("has no line \"" + std::string(key) + "\" where it belongs");
            return std::nullopt;
        }
        ++m_nNext;
        return std::string(line.substr(prefix.size()));
    }

    bool AtKey(std::string_view key) const {
        return m_nNext < m_lines.size() &&
               m_lines[m_nNext].substr(0, key.size() + 2) == std::string(key) + ": ";
    }

    bool End() {
        if (m_nNext != m_lines.size())
            return Fail("has more lines than it should");
        return true;
    }

    bool Fail(const std::string& strWhy) {
        m_strError = strWhy;
        return false;
    }

private:
    std::vector<std::string_view> m_lines;
    std::string& m_strError;
    size_t m_nNext = 0;
};

std::optional<std::string> JobValue(LineReader& reader) {
    std::optional<std::string> job = reader.Value("Auftrag");
    if (job && !IsJobKey(*job)) {
        reader.Fail("has a malformed job key");
        return std::nullopt;
    }
    return job;
}

} // namespace

std::string MakeJobKey(std::string_view jobId, const unsigned char (&random)[8]) {
    bool bDigits = !jobId.empty() && jobId.size() <= MAX_KEY_DIGITS;
    for (char c : jobId)
        bDigits = bDigits && IsDigit(c);
    std::string strKey = bDigits ? std::string(jobId) : "0";
    strKey += '-';
    static const char HEX[] = "0123456789abcdef";
    for (unsigned char b : random) {
        strKey += HEX[b >> 4];
        strKey += HEX[b & 0x0F];
    }
    return strKey;
}

bool IsJobKey(std::string_view key) {
    const size_t nHyphen = key.find('-');
    if (nHyphen == 0 || nHyphen == std::string_view::npos || nHyphen > MAX_KEY_DIGITS ||
        key.size() - nHyphen - 1 != 16)
        return false;
    for (size_t i = 0; i < key.size(); ++i)
        if (i != nHyphen && !(i < nHyphen ? IsDigit(key[i]) : IsLowerHex(key[i])))
            return false;
    return true;
}

std::optional<std::string> JobKeyOf(std::string_view fileName, std::string_view suffix) {
    if (fileName.size() <= suffix.size() ||
        fileName.substr(fileName.size() - suffix.size()) != suffix)
        return std::nullopt;
    const std::string_view key = fileName.substr(0, fileName.size() - suffix.size());
    return IsJobKey(key) ? std::optional<std::string>(key) : std::nullopt;
}

std::string FormatQuestion(const SaveQuestion& question) {
    return std::string(QUESTION_HEAD) + "\n" + Line("Auftrag", question.strJob) +
           Line("Vorschlag", question.strSuggestion) +
           Line("Frist", std::to_string(question.nDeadline));
}

std::string FormatAnswer(const SaveAnswer& answer) {
    std::string strText = std::string(ANSWER_HEAD) + "\n" + Line("Auftrag", answer.strJob);
    if (answer.Cancelled())
        return strText + Line("Ziel", CANCELLED);
    return strText + Line("Ziel", answer.strTarget) +
           Line("Ersetzen", answer.bReplace ? "ja" : "nein");
}

std::string FormatSessionMessage(const SessionMessage& message) {
    std::string strText = std::string(MESSAGE_HEAD) + "\n" + Line("Auftrag", message.strJob);
    for (const std::string& strLine : message.lines)
        strText += Line("Text", strLine);
    return strText;
}

std::optional<SaveQuestion> ParseQuestion(std::string_view text, std::string& strError) {
    std::optional<std::vector<std::string_view>> lines = SplitLines(text, strError);
    if (!lines)
        return std::nullopt;
    LineReader reader(std::move(*lines), strError);
    SaveQuestion question;
    if (!reader.Head(QUESTION_HEAD))
        return std::nullopt;
    std::optional<std::string> job = JobValue(reader);
    std::optional<std::string> suggestion = job ? reader.Value("Vorschlag") : std::nullopt;
    std::optional<std::string> deadline = suggestion ? reader.Value("Frist") : std::nullopt;
    if (!deadline || !reader.End())
        return std::nullopt;
    if (deadline->size() > 18 || deadline->find_first_not_of("0123456789") != std::string::npos ||
        ((*deadline)[0] == '0' && deadline->size() > 1)) {
        reader.Fail("has a malformed deadline");
        return std::nullopt;
    }
    question.strJob = *job;
    question.strSuggestion = *suggestion;
    question.nDeadline = std::stoll(*deadline);
    return question;
}

std::optional<SaveAnswer> ParseAnswer(std::string_view text, std::string& strError) {
    std::optional<std::vector<std::string_view>> lines = SplitLines(text, strError);
    if (!lines)
        return std::nullopt;
    LineReader reader(std::move(*lines), strError);
    if (!reader.Head(ANSWER_HEAD))
        return std::nullopt;
    std::optional<std::string> job = JobValue(reader);
    std::optional<std::string> target = job ? reader.Value("Ziel") : std::nullopt;
    if (!target)
        return std::nullopt;
    SaveAnswer answer;
    answer.strJob = *job;
    if (*target != CANCELLED) {
        const std::optional<std::string> replace = reader.Value("Ersetzen");
        if (!replace)
            return std::nullopt;
        if (*replace != "ja" && *replace != "nein") {
            reader.Fail("says neither \"ja\" nor \"nein\" to replacing");
            return std::nullopt;
        }
        answer.strTarget = *target;
        answer.bReplace = *replace == "ja";
    }
    if (!reader.End())
        return std::nullopt;
    return answer;
}

std::optional<SessionMessage> ParseSessionMessage(std::string_view text, std::string& strError) {
    std::optional<std::vector<std::string_view>> lines = SplitLines(text, strError);
    if (!lines)
        return std::nullopt;
    LineReader reader(std::move(*lines), strError);
    if (!reader.Head(MESSAGE_HEAD))
        return std::nullopt;
    std::optional<std::string> job = JobValue(reader);
    if (!job)
        return std::nullopt;
    SessionMessage message;
    message.strJob = *job;
    while (reader.AtKey("Text")) {
        std::optional<std::string> line = reader.Value("Text");
        if (!line)
            return std::nullopt;
        message.lines.push_back(*line);
    }
    if (message.lines.empty()) {
        reader.Fail("has no text");
        return std::nullopt;
    }
    if (!reader.End())
        return std::nullopt;
    return message;
}
