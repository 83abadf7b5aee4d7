// Builds tickets from fuzzed inputs and reads them back, and reads fuzzed bytes as tickets.
#include "engine/JobTicket.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

void Check(bool bCondition) {
    if (!bCondition)
        std::abort();
}

// Ticket values reach the spooler as C strings, so they never hold a NUL.
std::string WithoutNul(std::string strValue) {
    strValue.erase(std::remove(strValue.begin(), strValue.end(), '\0'), strValue.end());
    return strValue;
}

void CheckBuiltTicketReadsBack(const uint8_t* pData, size_t nSize) {
    FuzzedDataProvider provider(pData, nSize);
    const int32_t nSaveRequest = provider.ConsumeIntegral<int32_t>();
    const uint32_t dwGeneral = provider.ConsumeIntegral<uint32_t>();
    SwitchFlags switches;
    switches.m_bUSet = provider.ConsumeBool();
    switches.m_bUValue = provider.ConsumeBool();
    JobTicketFields expected;
    expected.strOutputName = WithoutNul(provider.ConsumeRandomLengthString(400));
    expected.strConfiguration = WithoutNul(provider.ConsumeRemainingBytesAsString());
    expected.nFlags = ComputeTicketFlags(nSaveRequest, dwGeneral, switches);
    Check(expected.nFlags <= 15);

    const std::string strTicket = BuildJobTicket(expected.strOutputName, expected.strConfiguration,
                                                 nSaveRequest, dwGeneral, switches);
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
    // A ticket with flags the builder can make comes out of the builder unchanged.
    if (fields->nFlags <= 15) {
        const int32_t nSaveRequest = (fields->nFlags & 1) ? 1 : 0;
        uint32_t dwGeneral = 0;
        if (fields->nFlags & 2)
            dwGeneral |= 0x40000000;
        if (fields->nFlags & 4)
            dwGeneral |= 0x80000000;
        if (fields->nFlags & 8)
            dwGeneral |= 0x08000000;
        const std::string strBuilt = BuildJobTicket(fields->strOutputName, fields->strConfiguration,
                                                    nSaveRequest, dwGeneral, {});
        Check(strBuilt == strRebuilt);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CheckBuiltTicketReadsBack(pData, nSize);
    CheckRawBytes(pData, nSize);
    return 0;
}
