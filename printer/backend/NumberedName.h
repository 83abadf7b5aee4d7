// The numbering rule for a file name that is taken, the same as the program's own: the
// name without its extension, the number, then the extension it had.
#pragma once

#include <string>

// bericht.pdf, 0 gives bericht0.pdf; README, 3 gives README3; a.b.pdf gives a.b0.pdf. The
// extension starts at the last dot of the name (a name that starts with its only dot has
// no stem: .pdf gives 0.pdf).
std::string NumberedName(const std::string& strName, unsigned nNumber);
