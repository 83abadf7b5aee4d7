#include "app/ConverterApp.h"

#include "app/ConverterCommandLineInfo.h"
#include "app/OutputNameWin.h"
#include "config/ConfigureDialog.h"
#include "config/Registry.h"
#include "config/RegistryPaths.h"
#include "config/Settings.h"
#include "engine/PrinterDiscoveryWin.h"
#include "framework/Handle.h"
#include "framework/MessageBox.h"
#include "framework/MessageMap.h"
#include "framework/MessageText.h"
#include "framework/ResourceString.h"
#include "framework/SystemMessage.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/ConverterDialog.h"
#include "ui/FileOpenCommand.h"
#include "ui/Help.h"
#include "ui/LocalisedTextWin.h"
#include "ui/ProgressDialog.h"

#include <cstdlib>
#include <optional>

namespace {

// A file that cannot be opened for exclusive reading now is reported at start-up.
bool CanOpenExclusively(const std::string& strPath) {
    return UniqueHandle(CreateFileA(strPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr))
        .IsValid();
}

} // namespace

ConverterApp& GetConverterApp() {
    return *static_cast<ConverterApp*>(AfxGetApp());
}

BOOL ConverterApp::InitInstance() {
    g_szPrinterName[0] = '\0';

    m_strActiveConfiguration =
        ReadRegistryString(HKEY_LOCAL_MACHINE, "ActiveConfiguration", CONFIGURATIONS_KEY, true);

    ConverterCommandLineInfo cmdInfo(m_strActiveConfiguration, [](const std::string& strPath) {
        return RegistryKeyExists(strPath.c_str());
    });
    ParseCommandLine(cmdInfo);

    AllocateSettingCells();
    static_cast<SwitchFlags&>(*this) = cmdInfo;
    LoadSettings();

    const std::string strCaption = LoadResourceString(IDS_CAPTION);
    if (!TakePrinter(cmdInfo, strCaption))
        return FALSE;
    if (g_szPrinterName[0] == '\0') {
        ShowMessageBox(nullptr, LoadExpandedString(IDS_NO_PRINTER), strCaption,
                       MB_TASKMODAL | MB_ICONERROR);
        return FALSE;
    }

    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileNew)
        RunSingleFile(cmdInfo.m_strFileName, strCaption);
    else
        RunMainWindow();
    return FALSE;
}

// The printer named by the /pt form is taken as it is; otherwise the converter queue is
// searched for. False when the named printer cannot be used (the user has been told).
bool ConverterApp::TakePrinter(const ConverterCommandLineInfo& cmdInfo,
                               const std::string& strCaption) {
    if (cmdInfo.m_strPrinterName.empty()) {
        FindConverterPrinter();
        return true;
    }
    if (SetPrinterName(cmdInfo.m_strPrinterName))
        return true;
    // Cutting the name short could name another printer; no printer has such a name.
    ShowMessageBox(nullptr, SystemErrorText(ERROR_INVALID_PRINTER_NAME, 255), strCaption,
                   MB_TASKMODAL | MB_ICONERROR);
    return false;
}

void ConverterApp::RunSingleFile(std::string strFileName, const std::string& strCaption) {
    char szFullPath[MAX_PATH];
    if (_fullpath(szFullPath, strFileName.c_str(), sizeof szFullPath))
        strFileName = szFullPath;

    if (!CanOpenExclusively(strFileName)) {
        ShowMessageBox(nullptr,
                       InsertArgument(LoadResourceString(IDS_CANNOT_OPEN_INPUT), strFileName),
                       strCaption, MB_TASKMODAL | MB_ICONERROR);
        return;
    }

    std::string strLongInputPath;
    std::optional<std::string> optOutputName =
        MakeOutputName(strFileName, NamingForm::SingleFile, &strLongInputPath);
    if (!optOutputName) {
        // Cutting the name short would point the printer side at another file.
        ShowMessageBox(nullptr,
                       InsertArgument(LoadResourceString(IDS_OUTPUT_NAME_TOO_LONG), strFileName),
                       strCaption, MB_TASKMODAL | MB_ICONERROR);
        return;
    }

    const PrinterHandle printer = OpenReadyPrinter(true);
    if (!printer.IsValid())
        return;
    const JobPrinterView jobPrinter(printer);

    ProgressDialog dialog;
    dialog.m_strDestination = *optOutputName;
    dialog.m_strSource = strLongInputPath;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

void ConverterApp::RunMainWindow() {
    ConverterDialog dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
}

int ConverterApp::ExitInstance() {
    FreeSettings();
    return CWinApp::ExitInstance();
}

bool ConverterApp::OnCmdMsg(UINT nID) {
    static const CommandEntry<ConverterApp> kCommands[] = {
        {IDM_CONFIGURE, &ConverterApp::OnConfigure},
        {IDM_FILE_OPEN, &ConverterApp::OnFileOpen},
        {IDM_ABOUT, &ConverterApp::OnAppAbout},
        {IDM_HELP, &ConverterApp::OnHelpCommand},
        {ID_HELP, &CWinApp::OnHelp},
    };
    return DispatchCommand(this, kCommands, nID);
}

void ConverterApp::OnConfigure() {
    ::OnConfigure();
}

void ConverterApp::OnFileOpen() {
    ::OnFileOpen();
}

void ConverterApp::OnAppAbout() {
    ::OnAppAbout();
}

void ConverterApp::OnHelpCommand() {
    ::OnHelpCommand();
}

void ConverterApp::LoadSettings() {
    ::LoadSettings(*this, *this, m_strActiveConfiguration);
}

std::string ConverterApp::ConfigurationKeyPath() const {
    return ::ConfigurationKeyPath(m_strActiveConfiguration);
}

void ConverterApp::AllocateSettingCells() {
    for (SettingCell* pCell : Cells())
        pCell->Allocate();
}

void ConverterApp::FreeSettings() {
    for (SettingCell* pCell : Cells())
        pCell->Free();
    OutputPath.reset();
    EmbedFonts.reset();
    NeverEmbedFonts.reset();
}
