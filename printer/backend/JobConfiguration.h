// The PDF settings of a job: those of the configuration its ticket names, read from the
// registry file of the job owner's Wine prefix, without Wine.
#pragma once

#include "printer/common/PdfSettings.h"

#include <string>
#include <string_view>
#include <vector>

struct JobPdfSettings {
    PdfSettings settings;
    // What did not go as the configuration says, one line each.
    std::vector<std::string> warnings;
};

// The settings of the configuration strConfiguration (the ticket's item "c"; empty: the
// Configuration key, as the program does) in the text of the prefix's system.reg, or,
// should there be no such configuration, those of the Configuration key. Where the file
// cannot be read (strFileProblem not empty), is not a registry file as Wine writes it, or
// holds neither key, Ghostscript's own defaults ("Standard"). Each fallback is a warning.
JobPdfSettings SelectPdfSettings(std::string_view registryText, const std::string& strFileProblem,
                                 const std::string& strConfiguration);

// The same for the prefix's system.reg, read as whoever calls it (the job's user), at
// most kMaxRegistryFileBytes of it.
JobPdfSettings LoadJobPdfSettings(const std::string& strPrefix,
                                  const std::string& strConfiguration);

// What the job's Ghostscript gets from its configuration (PdfSwitches); each warning goes
// to CUPS's log.
std::vector<std::string> JobPdfSwitches(const std::string& strPrefix,
                                        const std::string& strConfiguration);
