// Keys of a registry file as Wine writes them (system.reg holds HKEY_LOCAL_MACHINE), read
// without Wine. The file comes from a user's prefix: it is read strictly, as Wine's
// server writes it, and anything else in it makes the whole file unusable.
#pragma once

#include "printer/common/PdfSettings.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file larger than this is not read: a prefix's system.reg is a few MiB.
constexpr size_t kMaxRegistryFileBytes = 64 * 1024 * 1024;

struct WineRegistryKey {
    bool bFound = false;
    // The values by name, folded to lower case (FoldCase): the registry ignores case.
    std::map<std::string, RegistryData> values;
};

// The wanted keys of the registry file in text, in the order asked: each a path relative
// to the file's root, names separated by backslashes, in UTF-8, matched without regard to
// case. nullopt, with the line and what is wrong in strError, when the text is not such
// a file.
//
// The format, as Wine's server writes it: the line "WINE REGISTRY Version 2", then lines
// of which each is empty, a comment (";"), an option ("#"), a key ("[path] time") or a
// value of the key above it ("name"=data or @=data). Data: "text" (REG_SZ),
// str(2):"text" or str(7):"text" (REG_EXPAND_SZ, REG_MULTI_SZ), dword:xxxxxxxx, hex:bytes
// (REG_BINARY) or hex(type):bytes, the bytes two hex digits each, separated by commas,
// a line ending in a backslash continuing on the next. Names and texts are escaped:
// \\ \" \[ \] and any other character after a backslash stand for themselves; \a \b \e \f
// \n \r \t \v are control characters; \x with up to four hex digits a UTF-16 unit; \ with
// up to three octal digits another. Wine writes nothing else unescaped than printable
// ASCII.
std::optional<std::vector<WineRegistryKey>>
ReadWineRegistryKeys(std::string_view text, const std::vector<std::string>& keyPaths,
                     std::string& strError);
