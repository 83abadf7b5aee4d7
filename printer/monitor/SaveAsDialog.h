// The standard "Speichern unter" dialog for a question of the printer side.
#pragma once

#include "printer/session/SessionProtocol.h"

#include <windows.h>

// Shows the dialog: PDF files, the suggestion's folder and name, asking before an existing
// file is replaced. The answer: the path chosen, replacing when the file was there (the
// dialog asked, and the user agreed); cancelled when the user cancelled; the suggestion,
// not replacing, when the dialog could not be shown (the printer side's choice without
// a question).
SaveAnswer AskWhereToSave(HWND hOwner, const SaveQuestion& question);
