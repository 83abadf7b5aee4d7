// Output file naming: path splitting and joining as the C runtime does it, extension
// removal, the overwrite rule, the long-name choice and the numbering loop. The file-system
// queries come in as callables; OutputNameWin.h binds them to the real file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Longest output name: the path buffers hold 260 bytes with the terminator.
constexpr std::size_t MAX_OUTPUT_NAME = 259;

// Who asks for a name. Only the single-file start-up turns the input into its long form,
// and the two forms read the overwrite switch differently.
enum class NamingForm { SingleFile, Batch };

// A path in the four parts of _splitpath.
struct PathParts {
    std::string strDrive; // "X:" when the second character is a colon, else empty
    std::string strDir;   // up to and with the last "\" or "/", else empty
    std::string strName;  // the rest up to its last "."
    std::string strExt;   // from that "." on (the dot included), else empty
};

// Splits as _splitpath does; unlike the C runtime, no part has a length limit (it empties
// every part once one exceeds 255 characters).
PathParts SplitPath(const std::string& strPath);

// Joins as _makepath does: the drive's first character and ":", the directory with one "\"
// added unless it ends in "\" or "/", the name, and the extension with a "." added unless
// it has one. Empty parts are left out.
std::string MakePath(const std::string& strDrive, const std::string& strDir,
                     const std::string& strName, const std::string& strExt);

// Removes the extension of the last component in place. Only "\" separates components;
// the first character is examined too, so ".ps" becomes empty.
void StripExtension(std::string& strPath);

// Whether an existing output file may be replaced, from General's top bit and the /U
// switch: the one place of this rule. The single-file form lets /U decide when given; the
// batch form also overwrites whenever the bit is set. The job ticket's flag 4, which tells
// the printer side whether it may replace the file, always takes the single-file reading
// (ComputeTicketFlags), for batch jobs too: with /U1 and the bit set a batch reuses an
// existing name while its ticket's flag 4 stays clear, and the printer side refuses it.
bool IsOverwriteAllowed(NamingForm eForm, uint32_t dwGeneral, bool bUSet, bool bUValue);

// One entry of a directory listing.
struct DirectoryEntry {
    std::string strLongName;
    std::string strShortName; // empty when the long name is a short name already
};

// The pattern that lists the directory of strPath's last component: drive, directory and
// "*.*".
std::string LongNameSearchPattern(const std::string& strPath);

// Replaces the last component of strPath by the long name of the first entry, in listing
// order, whose long or short name equals it without regard to ASCII case. Unchanged when
// no entry matches.
void UseLongFileName(std::string& strPath, const std::vector<DirectoryEntry>& entries);

// The settings that steer naming, as they stand when the name is made.
struct NamingSettings {
    uint32_t dwGeneral = 0;
    int32_t nSaveRequest = 0;
    std::optional<std::string> optOutputPath; // absent when the value could not be read
    bool bUSet = false;
    bool bUValue = false;
};

// True when something (a file or a directory) exists under the path.
using FileExistsFunction = std::function<bool(const std::string& strPath)>;
// Turns the last component of a path into its long form, in place.
using LongNameFunction = std::function<void(std::string& strPath)>;

// The output name for strInputPath: same directory (or the output directory when General
// asks for it), extension removed, a number from 0 on while the name is taken and
// overwriting is not allowed, ".pdf" when SaveRequest is exactly 1. In single-file form the
// input is first turned into its long form; *pstrLongInputPath (may be null) receives the
// input path the job is to use. Empty when a name would exceed MAX_OUTPUT_NAME characters:
// a name cut short could point at another file.
std::optional<std::string> MakeOutputName(const std::string& strInputPath, NamingForm eForm,
                                          const NamingSettings& settings,
                                          const FileExistsFunction& fileExists,
                                          const LongNameFunction& useLongFileName,
                                          std::string* pstrLongInputPath);
