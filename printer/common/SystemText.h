// The system's text for a Win32 error code, as the printer product's programs show it.
#pragma once

#include <windows.h>

#include <string>

// Without the line break it ends with; "Fehler N" when the system has no text for it.
std::string SystemText(LONG nError);
