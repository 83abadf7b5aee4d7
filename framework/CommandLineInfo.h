// CCommandLineInfo: the framework's standard command-line scheme (file name, /p, /pt).
#pragma once

#include <string>
#include <vector>

class CCommandLineInfo {
public:
    enum ShellCommand { FileNew = 0, FileOpen = 1, FilePrint = 2, FilePrintTo = 3 };

    virtual ~CCommandLineInfo() = default;

    // Called once per argument: pszParam without its switch character, bFlag when the
    // argument began with "/" or "-", bLast for the final argument.
    virtual void ParseParam(const char* pszParam, bool bFlag, bool bLast);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    bool m_bRunAutomated = false;

protected:
    void ParseParamFlag(const char* pszParam);
    void ParseParamNotFlag(const char* pszParam);
    void ParseLast(bool bLast);
};

// Feeds the arguments after the program name to ParseParam, in order.
void ParseCommandLineArguments(CCommandLineInfo& info, const std::vector<std::string>& args);
