// The lines the program frames a job's data with, which the printer side's prelude answers.
// Part of the job ticket's library: the printer side reads them as well.
#pragma once

#include <cstddef>

// Written before the data of EPS input: the interpreter crops to the bounding box.
constexpr char EpsPrefixLine[] =
    "systemdict /BrisolDict get begin /TrimToBBox true def /PDFCrop false def end\n";
constexpr size_t EPS_PREFIX_LINE_LENGTH = sizeof EpsPrefixLine - 1;
static_assert(EPS_PREFIX_LINE_LENGTH == 77, "the prefix line is sent as 77 bytes");

// Written after the data of every job that was not broken off: emits the last page unless
// the document already did. A job without it was cut short by a cancel or a failed write.
constexpr char ShowPageTrailerLine[] =
    "\nsystemdict /BrisolDict get /DoneShowPage get not {showpage} if\n";
constexpr size_t SHOW_PAGE_TRAILER_LINE_LENGTH = sizeof ShowPageTrailerLine - 1;
static_assert(SHOW_PAGE_TRAILER_LINE_LENGTH == 64, "the trailer line is sent as 64 bytes");
