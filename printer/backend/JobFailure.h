// Why a job gave no PDF: the kind, which says what to tell the user in a failure report,
// the reason in the words of CUPS's log, and the details.
#pragma once

#include <string>

enum class FailureKind {
    Interpreter,    // the document has a PostScript error
    Crashed,        // Ghostscript ended on a signal of its own
    TimedOut,       // past the time on the clock
    CpuLimit,       // past the processor time
    FileTooLarge,   // the PDF or a scratch file past its bound
    FolderTooLarge, // the job's folder past its bound
    OutOfMemory,    // past the memory bound
    WriteError,     // the PDF could not be written whole (a full disk)
    NoPdf,          // Ghostscript ended well but left no whole PDF
    NameTaken,      // the name and every numbered name are taken
    Cancelled,      // the user or an administrator cancelled the job
    CutShort,       // the program cut the job short (a cancel, or data not sent whole)
    Internal,       // the conversion could not be run at all
};

struct JobFailure {
    FailureKind kind = FailureKind::Internal;
    // For every reader of the job's state in CUPS, in English: no path, no name, nothing
    // of the document's content.
    std::string strReason;
    // For the job's user and administrators: what Ghostscript said, which path.
    std::string strDetail;
};
