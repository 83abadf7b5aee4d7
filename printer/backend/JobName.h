// The job's document name as CUPS hands it to a backend.
#pragma once

#include <optional>
#include <string>

// CUPS keeps titles to 255 bytes: a longer document name arrives with the title
// "Untitled", and whole only in the job option "document-name-supplied".
constexpr const char* UNTITLED_JOB = "Untitled";

// The value of one job option from the backend's option text (argv[5]), decoded as CUPS
// encodes it (quotes and backslash escapes); nullopt when the option is absent.
[[nodiscard]] std::optional<std::string> FindJobOption(const std::string& strOptions,
                                                       const char* pszName);

// The document name: the supplied name when CUPS passed one, else the title. A supplied
// name that disagrees with a title other than "Untitled" means one of the two was
// altered on the way: nullopt with the reason in strError.
[[nodiscard]] std::optional<std::string>
SelectJobName(const std::string& strTitle, const std::string& strOptions, std::string& strError);
