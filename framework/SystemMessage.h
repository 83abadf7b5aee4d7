// The system's own text for a Win32 error code.
#pragma once

#include <windows.h>

#include <string>

// FormatMessageA from the system table, default language, at most nMaxChars characters;
// empty when the system has no text for the code.
std::string SystemErrorText(DWORD dwError, DWORD nMaxChars);
