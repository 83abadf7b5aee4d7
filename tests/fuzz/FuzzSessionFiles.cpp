// Reads fuzzed bytes as the channel's files (the printer side reads answers as root for
// root's jobs): whatever a parser takes, written out again, is exactly the bytes it read,
// so the format has one spelling and nothing beside it passes.
#include "printer/session/SessionProtocol.h"
#include "FuzzCheck.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    std::string strError;
    if (const std::optional<SaveAnswer> answer = ParseAnswer(text, strError)) {
        Check(IsJobKey(answer->strJob));
        Check(FormatAnswer(*answer) == text);
    }
    if (const std::optional<SaveQuestion> question = ParseQuestion(text, strError))
        Check(FormatQuestion(*question) == text);
    if (const std::optional<SessionMessage> message = ParseSessionMessage(text, strError))
        Check(FormatSessionMessage(*message) == text);
    return 0;
}
