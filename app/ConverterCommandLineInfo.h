// ConverterCommandLineInfo: the standard command line plus the program's switches
// C, D, E, Q, U and V, which it takes before the standard handling sees them.
#pragma once

#include "app/SwitchFlags.h"
#include "framework/CommandLineInfo.h"

#include <functional>
#include <string>

class ConverterCommandLineInfo : public CCommandLineInfo, public SwitchFlags {
public:
    // Tells whether a registry key (a path under HKEY_LOCAL_MACHINE) can be opened.
    using KeyExists = std::function<bool(const std::string& strKeyPath)>;

    // /C writes the configuration name into strActiveConfiguration when its key exists.
    ConverterCommandLineInfo(std::string& strActiveConfiguration, KeyExists keyExists);

    void ParseParam(const char* pszParam, bool bFlag, bool bLast) override;

private:
    std::string& m_strActiveConfiguration;
    KeyExists m_keyExists;
};
