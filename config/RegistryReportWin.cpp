#include "config/RegistryReportWin.h"

#include "config/RegistryReport.h"
#include "framework/Handle.h"
#include "framework/MessageBox.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "res/resource.h"

namespace {

const char* RootName(HKEY hRoot) {
    if (hRoot == HKEY_CURRENT_USER)
        return "HKEY_CURRENT_USER";
    if (hRoot == HKEY_LOCAL_MACHINE)
        return "HKEY_LOCAL_MACHINE";
    return "";
}

// The step string with "%1" replaced by the path text; empty when the string is missing.
std::string StepText(UINT nStepId, const std::string& strPathText) {
    std::string strFormat = LoadResourceString(nStepId);
    if (strFormat.empty())
        return std::string();
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(strPathText.c_str())};
    LocalText text;
    // The buffer is allocated by the call: the path text has no fixed bound.
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY |
                                 FORMAT_MESSAGE_ALLOCATE_BUFFER,
                             strFormat.c_str(), 0, 0, reinterpret_cast<char*>(text.Receive()), 0,
                             reinterpret_cast<va_list*>(inserts));
    if (n == 0 || text.Get() == nullptr)
        return std::string();
    return std::string(text.Get(), n);
}

} // namespace

void ReportRegistryError(UINT nStepId, DWORD dwError, HKEY hRoot, const char* pszKeyPath,
                         const char* pszValueName) {
    std::string strPathText = RegistryPathText(RootName(hRoot), pszKeyPath, pszValueName);
    std::string strStepText = nStepId != 0 ? StepText(nStepId, strPathText) : std::string();

    std::string strMessage = SystemErrorText(dwError, 255);
    if (!strStepText.empty())
        strMessage += "\n" + strStepText;

    SoundBeep(MB_ICONHAND);
    ShowMessageBox(nullptr, strMessage, LoadResourceString(IDS_REGISTRY_CAPTION),
                   MB_OK | MB_ICONHAND | MB_TASKMODAL);
}
