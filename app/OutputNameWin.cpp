#include "app/OutputNameWin.h"

#include "app/ConverterApp.h"
#include "framework/Handle.h"

#include <windows.h>

#include <vector>

namespace {

// Every entry matching strPattern in the order the file system returns them; empty when
// the directory cannot be listed.
std::vector<DirectoryEntry> ListDirectory(const std::string& strPattern) {
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA(strPattern.c_str(), &data));
    if (!find.IsValid())
        return entries;
    do {
        entries.push_back({data.cFileName, data.cAlternateFileName});
    } while (FindNextFileA(find.Get(), &data));
    return entries;
}

} // namespace

bool FileExists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void UseLongFileName(std::string& strPath) {
    UseLongFileName(strPath, ListDirectory(LongNameSearchPattern(strPath)));
}

std::optional<std::string> MakeOutputName(const std::string& strInputPath, NamingForm eForm,
                                          std::string* pstrLongInputPath) {
    const ConverterApp& app = GetConverterApp();
    NamingSettings settings;
    settings.dwGeneral = static_cast<uint32_t>(app.General.Get());
    settings.nSaveRequest = app.SaveRequest.Get();
    if (app.OutputPath)
        settings.optOutputPath = std::string(app.OutputPath.get());
    settings.bUSet = app.m_bUSet != 0;
    settings.bUValue = app.m_bUValue != 0;
    return MakeOutputName(
        strInputPath, eForm, settings, FileExists,
        [](std::string& strPath) { UseLongFileName(strPath); }, pstrLongInputPath);
}
