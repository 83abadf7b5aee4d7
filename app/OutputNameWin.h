// Output file naming against the real file system and the application's current settings.
#pragma once

#include "app/OutputName.h"

#include <optional>
#include <string>

// True when GetFileAttributesA succeeds: files and directories alike. A path whose
// existence cannot be tested counts as free.
bool FileExists(const std::string& strPath);

// Replaces the last component of strPath by its long name, found by listing its directory.
// Unchanged when nothing matches or the directory cannot be listed; directory components
// stay as they are.
void UseLongFileName(std::string& strPath);

// The output name for strInputPath from the settings and switches of the application
// object as they stand now; empty when the name would not fit a path buffer (the caller
// refuses that input). In single-file form *pstrLongInputPath (may be null) receives the
// input in its long form, which the job uses from then on; in batch form the input path.
std::optional<std::string> MakeOutputName(const std::string& strInputPath, NamingForm eForm,
                                          std::string* pstrLongInputPath);
