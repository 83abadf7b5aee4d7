// One document at a time in the spooler, across the program's processes.
#pragma once

#include "framework/Handle.h"

// Wine's spooler numbers each program's print jobs from 1 and spools job N to the same
// file of the prefix (spool\printers\0000N.SPL): two programs printing at once (a file
// converted twice in quick succession, two files sent from Explorer) write into and
// delete each other's spool file, and one of the jobs is lost. A program takes the turn
// before it starts a document and gives it back when the document has ended; on Windows
// this only puts two documents one after the other.
class SpoolerTurn {
public:
    // Waits for the turn, as long as the job is not cancelled meanwhile (g_bCancelRequested);
    // g_bJobHeld is set while it waits. A mutex that cannot be made is no reason to stop
    // a conversion: then it goes ahead without the turn.
    SpoolerTurn();
    SpoolerTurn(const SpoolerTurn&) = delete;
    SpoolerTurn& operator=(const SpoolerTurn&) = delete;
    // Gives the turn back.
    ~SpoolerTurn();

    // False when the job was cancelled while it waited.
    bool Taken() const { return m_bTaken || !m_mutex.IsValid(); }

private:
    UniqueHandle m_mutex;
    bool m_bTaken = false;
};

// The mutex's name; a test takes it to hold the program's turn.
constexpr const char SPOOLER_TURN_MUTEX[] = "Local\\PsZuPdf-SpoolerTurn";
