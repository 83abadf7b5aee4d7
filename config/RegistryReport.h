// The path text that a registry error report names: root, key path and value name.
#pragma once

#include <string>

// Joins the parts with single backslashes, skipping the separator while the text is
// still empty (a root without a name). Null parts are left out.
std::string RegistryPathText(const char* pszRootName, const char* pszKeyPath,
                             const char* pszValueName);
