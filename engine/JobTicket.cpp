#include "engine/JobTicket.h"

namespace {

constexpr std::string_view TICKET_START = "~JS~";

constexpr char BLANK = ' ';
constexpr char QUOTE = '"';

bool NeedsQuotes(const std::string& strValue) {
    return strValue.find_first_of("\" ") != std::string::npos;
}

// Walks a ticket from left to right; every step either consumes what it expects or fails.
class TicketReader {
public:
    explicit TicketReader(std::string_view ticket) : m_ticket(ticket) {}

    bool Expect(std::string_view text) {
        if (m_ticket.substr(m_nPos, text.size()) != text)
            return false;
        m_nPos += text.size();
        return true;
    }

    // A quoted or a bare value. What follows it must be a blank or the end, which the next
    // Expect or AtEnd checks.
    bool ReadValue(std::string& strValue) {
        if (m_nPos < m_ticket.size() && m_ticket[m_nPos] == QUOTE)
            return ReadQuotedValue(strValue);
        size_t nEnd = m_ticket.find(BLANK, m_nPos);
        if (nEnd == std::string_view::npos)
            nEnd = m_ticket.size();
        std::string_view value = m_ticket.substr(m_nPos, nEnd - m_nPos);
        if (value.find(QUOTE) != std::string_view::npos)
            return false;
        strValue.assign(value);
        m_nPos = nEnd;
        return true;
    }

    // Plain unsigned decimal, no sign, no leading zero, at most 0xFFFFFFFF.
    bool ReadNumber(uint32_t& nNumber) {
        const size_t nStart = m_nPos;
        uint64_t nValue = 0;
        while (m_nPos < m_ticket.size() && m_ticket[m_nPos] >= '0' && m_ticket[m_nPos] <= '9') {
            if (m_nPos > nStart && nValue == 0)
                return false; // leading zero
            nValue = nValue * 10 + static_cast<uint64_t>(m_ticket[m_nPos] - '0');
            if (nValue > UINT32_MAX)
                return false;
            ++m_nPos;
        }
        if (m_nPos == nStart)
            return false;
        nNumber = static_cast<uint32_t>(nValue);
        return true;
    }

    bool AtEnd() const { return m_nPos == m_ticket.size(); }

private:
    bool ReadQuotedValue(std::string& strValue) {
        strValue.clear();
        ++m_nPos; // opening quote
        while (m_nPos < m_ticket.size()) {
            const char c = m_ticket[m_nPos++];
            if (c != QUOTE) {
                strValue.push_back(c);
                continue;
            }
            if (m_nPos < m_ticket.size() && m_ticket[m_nPos] == QUOTE) {
                strValue.push_back(QUOTE);
                ++m_nPos;
                continue;
            }
            return true; // closing quote
        }
        return false; // unterminated
    }

    std::string_view m_ticket;
    size_t m_nPos = 0;
};

} // namespace

std::string FormatTicketItem(const char* pszKey, const std::string& strValue) {
    std::string strItem(1, BLANK);
    strItem += pszKey;
    strItem += '=';
    if (!NeedsQuotes(strValue))
        return strItem + strValue;
    strItem.reserve(strItem.size() + strValue.size() + 2);
    strItem += QUOTE;
    for (char c : strValue) {
        strItem += c;
        if (c == QUOTE)
            strItem += QUOTE;
    }
    strItem += QUOTE;
    return strItem;
}

std::string FormatTicketNumber(const char* pszKey, uint32_t nNumber) {
    return FormatTicketItem(pszKey, std::to_string(nNumber));
}

std::string BuildJobTicket(const std::string& strOutputName, const std::string& strConfiguration,
                           uint32_t nFlags) {
    std::string strTicket(TICKET_START);
    strTicket += FormatTicketItem("d", strOutputName);
    strTicket += FormatTicketItem("c", strConfiguration);
    strTicket += FormatTicketNumber("f", nFlags);
    return strTicket;
}

std::optional<JobTicketFields> ParseJobTicket(std::string_view ticket) {
    if (ticket.find('\0') != std::string_view::npos)
        return std::nullopt;
    TicketReader reader(ticket);
    JobTicketFields fields;
    if (!reader.Expect(TICKET_START) || !reader.Expect(" d=") ||
        !reader.ReadValue(fields.strOutputName) || !reader.Expect(" c=") ||
        !reader.ReadValue(fields.strConfiguration) || !reader.Expect(" f=") ||
        !reader.ReadNumber(fields.nFlags) || !reader.AtEnd())
        return std::nullopt;
    return fields;
}
