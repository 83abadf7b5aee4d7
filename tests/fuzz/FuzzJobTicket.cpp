// Builds tickets from fuzzed inputs and reads them back, and reads fuzzed bytes as tickets.
#include "engine/JobTicket.h"
#include "FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

namespace {

// Ticket values reach the spooler as C strings, so they never hold a NUL.
std::string WithoutNul(std::string strValue) {
    strValue.erase(std::remove(strValue.begin(), strValue.end(), '\0'), strValue.end());
    return strValue;
}

void CheckBuiltTicketReadsBack(const uint8_t* pData, size_t nSize) {
    FuzzedDataProvider provider(pData, nSize);
    JobTicketFields expected;
    expected.nFlags = provider.ConsumeIntegral<uint32_t>();
    expected.strOutputName = WithoutNul(provider.ConsumeRandomLengthString(400));
    expected.strConfiguration = WithoutNul(provider.ConsumeRemainingBytesAsString());

    const std::string strTicket =
        BuildJobTicket(expected.strOutputName, expected.strConfiguration, expected.nFlags);
    const std::optional<JobTicketFields> fields = ParseJobTicket(strTicket);
    Check(fields.has_value() && *fields == expected);
}

void CheckRawBytes(const uint8_t* pData, size_t nSize) {
    const std::string_view ticket(reinterpret_cast<const char*>(pData), nSize);
    const std::optional<JobTicketFields> fields = ParseJobTicket(ticket);
    if (!fields)
        return;
    Check(ticket.find('\0') == std::string_view::npos);
    const std::string strRebuilt = "~JS~" + FormatTicketItem("d", fields->strOutputName) +
                                   FormatTicketItem("c", fields->strConfiguration) +
                                   FormatTicketNumber("f", fields->nFlags);
    Check(ParseJobTicket(strRebuilt) == fields);
    // The builder writes exactly these items.
    Check(BuildJobTicket(fields->strOutputName, fields->strConfiguration, fields->nFlags) ==
          strRebuilt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CheckBuiltTicketReadsBack(pData, nSize);
    CheckRawBytes(pData, nSize);
    return 0;
}
