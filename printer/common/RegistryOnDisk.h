// Registry changes of the printer product that must reach the disk at once.
#pragma once

#include <windows.h>

// Under Wine, has the Wine server write HKEY_LOCAL_MACHINE to the prefix's system.reg
// now: that file is where the printer side reads the configurations, and Wine writes
// registry changes to it only every 30 seconds (RegFlushKey does nothing in Wine 8), so
// a change would miss the jobs of the next half minute. On Windows, whose printer side
// reads the registry itself, it does nothing. ERROR_SUCCESS or the Win32 error.
[[nodiscard]] LONG WriteMachineRegistryToDisk();
