// The uniform report of a registry operation that failed: the Win32 side of
// RegistryReport.h, which makes its path text.
#pragma once

#include <windows.h>

// Shows "Systemsteuerungsfehler" with the system's text for dwError and the failing step
// (string nStepId formatted with the path text). Key path and value name may be null.
void ReportRegistryError(UINT nStepId, DWORD dwError, HKEY hRoot, const char* pszKeyPath,
                         const char* pszValueName);
