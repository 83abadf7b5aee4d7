// Loading strings from the program's string table (the framework's CString::LoadString).
#pragma once

#include <windows.h>

#include <string>

// The module whose resources the program uses: the running executable.
HINSTANCE AfxGetResourceHandle();

// The string resource nID as the resources hold it; empty when there is none.
std::string LoadResourceString(UINT nID);
