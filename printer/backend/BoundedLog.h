// A program's output kept within a fixed size: its first and last lines, each cut to a
// length, and a count of the lines left out between them.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

class BoundedLog {
public:
    BoundedLog(size_t nHeadLines, size_t nTailLines, size_t nLineBytes,
               std::string strWatched = {});

    // Takes the next piece of output, cut anywhere.
    void Append(std::string_view text);
    // Ends the last line when the output did not.
    void Finish();

    // The kept lines in order; where lines were left out, one line saying how many.
    std::vector<std::string> Lines() const;
    // The first kept line that starts with strStart; empty when there is none.
    std::string FirstLineStartingWith(std::string_view start) const;
    // The last kept line that is not empty; empty when there is none.
    std::string LastLine() const;
    // The first line, kept or not, that holds strWatched (given at construction), cut to
    // length; empty when there was none.
    const std::string& FirstWatchedLine() const { return m_strFirstWatched; }

private:
    void EndLine();

    size_t m_nHeadLines;
    size_t m_nTailLines;
    size_t m_nLineBytes;
    std::vector<std::string> m_head;
    std::deque<std::string> m_tail;
    std::string m_strLine;    // the line being read, already cut to length
    bool m_bLineOpen = false; // m_strLine holds a line begun but not ended
    size_t m_nLeftOut = 0;    // lines dropped from the tail's front
    std::string m_strWatched;
    std::string m_strFirstWatched;
};
