// The system's own texts: error descriptions and "%1" inserts.
#pragma once

#include <windows.h>

#include <string>

// FormatMessageA from the system table, default language, at most nMaxChars characters;
// empty when the system has no text for the code.
std::string SystemErrorText(DWORD dwError, DWORD nMaxChars);

// FormatMessageA from a string: "%1" becomes strInsert (taken literally).
std::string FormatWithInsert(const std::string& strPattern, const std::string& strInsert);
