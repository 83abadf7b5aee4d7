// What poppler's pdfinfo and pdftotext say about a PDF file, for the backend's tests.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The output of a command; empty when it cannot run.
inline std::string CommandOutput(const std::string& strCommand) {
    std::string strOutput;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(strCommand.c_str(), "r"), pclose);
    if (!pipe)
        return strOutput;
    char buffer[4096];
    size_t nRead;
    while ((nRead = fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        strOutput.append(buffer, nRead);
    return strOutput;
}

inline bool HaveCommand(const char* pszCommand) {
    return std::system((std::string("command -v ") + pszCommand + " >/dev/null 2>&1").c_str()) == 0;
}

// pdfinfo -box's "Key: value" lines.
inline std::map<std::string, std::string> PdfInfo(const std::string& strPath) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(CommandOutput("pdfinfo -box '" + strPath + "' 2>/dev/null"));
    std::string strLine;
    while (std::getline(lines, strLine)) {
        const size_t nColon = strLine.find(':');
        if (nColon == std::string::npos)
            continue;
        const size_t nValue = strLine.find_first_not_of(' ', nColon + 1);
        fields[strLine.substr(0, nColon)] =
            nValue == std::string::npos ? "" : strLine.substr(nValue);
    }
    return fields;
}

inline std::string PdfText(const std::string& strPath) {
    return CommandOutput("pdftotext '" + strPath + "' - 2>/dev/null");
}

// pdffonts: each font's name (without a subset's prefix) and whether it is embedded.
inline std::map<std::string, bool> PdfFontsEmbedded(const std::string& strPath) {
    std::map<std::string, bool> fonts;
    std::istringstream lines(CommandOutput("pdffonts '" + strPath + "' 2>/dev/null"));
    std::string strLine;
    for (int nLine = 0; std::getline(lines, strLine); ++nLine) {
        std::istringstream fields(strLine);
        std::string strName, strWord;
        std::vector<std::string> words;
        fields >> strName;
        while (fields >> strWord)
            words.push_back(strWord);
        // name, type words, encoding, emb, sub, uni, object, generation
        if (nLine < 2 || words.size() < 6)
            continue;
        const size_t nPlus = strName.find('+');
        fonts[nPlus == 6 ? strName.substr(7) : strName] = words[words.size() - 5] == "yes";
    }
    return fonts;
}
