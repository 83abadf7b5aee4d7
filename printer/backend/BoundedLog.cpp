#include "printer/backend/BoundedLog.h"

#include <utility>

BoundedLog::BoundedLog(size_t nHeadLines, size_t nTailLines, size_t nLineBytes,
                       std::string strWatched)
    : m_nHeadLines(nHeadLines), m_nTailLines(nTailLines), m_nLineBytes(nLineBytes),
      m_strWatched(std::move(strWatched)) {}

void BoundedLog::Append(std::string_view text) {
    while (!text.empty()) {
        const size_t nEnd = text.find('\n');
        const std::string_view piece = text.substr(0, nEnd);
        if (m_strLine.size() < m_nLineBytes)
            m_strLine.append(piece.substr(0, m_nLineBytes - m_strLine.size()));
        m_bLineOpen = true;
        if (nEnd == std::string_view::npos)
            return;
        EndLine();
        text.remove_prefix(nEnd + 1);
    }
}

void BoundedLog::Finish() {
    if (m_bLineOpen)
        EndLine();
}

void BoundedLog::EndLine() {
    if (!m_strLine.empty() && m_strLine.back() == '\r')
        m_strLine.pop_back();
    if (!m_strWatched.empty() && m_strFirstWatched.empty() &&
        m_strLine.find(m_strWatched) != std::string::npos)
        m_strFirstWatched = m_strLine;
    if (m_head.size() < m_nHeadLines) {
        m_head.push_back(std::move(m_strLine));
    } else {
        m_tail.push_back(std::move(m_strLine));
        if (m_tail.size() > m_nTailLines) {
            m_tail.pop_front();
            ++m_nLeftOut;
        }
    }
    m_strLine.clear();
    m_bLineOpen = false;
}

std::vector<std::string> BoundedLog::Lines() const {
    std::vector<std::string> lines(m_head);
    if (m_nLeftOut > 0)
        lines.push_back("[" + std::to_string(m_nLeftOut) + " lines left out]");
    lines.insert(lines.end(), m_tail.begin(), m_tail.end());
    return lines;
}

std::string BoundedLog::FirstLineStartingWith(std::string_view start) const {
    for (const std::string& strLine : m_head)
        if (strLine.rfind(start, 0) == 0)
            return strLine;
    for (const std::string& strLine : m_tail)
        if (strLine.rfind(start, 0) == 0)
            return strLine;
    return {};
}

std::string BoundedLog::LastLine() const {
    for (auto it = m_tail.rbegin(); it != m_tail.rend(); ++it)
        if (!it->empty())
            return *it;
    for (auto it = m_head.rbegin(); it != m_head.rend(); ++it)
        if (!it->empty())
            return *it;
    return {};
}
