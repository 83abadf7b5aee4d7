// ConverterApp: the one application object. Start-up, run mode, and the settings,
// switch flags and configuration name that the whole program shares.
#pragma once

#include "app/SwitchFlags.h"
#include "config/ConversionSettings.h"
#include "framework/WinApp.h"

#include <string>

class ConverterCommandLineInfo;

class ConverterApp : public CWinApp, public ConversionSettings, public SwitchFlags {
public:
    ConverterApp() = default;
    ~ConverterApp() override = default;

    BOOL InitInstance() override;
    int ExitInstance() override;
    bool OnCmdMsg(UINT nID) override;

    // Reads the settings of the configuration in use, with the command-line overrides.
    void LoadSettings();
    std::string ConfigurationKeyPath() const;

    // Menu commands: "&Einstellungen" > "&Konfigurieren...", "&Datei" > "Ö&ffnen...",
    // "&Hilfe" > "&Info..." and "&Hilfe" > "&Hilfe".
    void OnConfigure();
    void OnFileOpen();
    void OnAppAbout();
    void OnHelpCommand();

    // The configuration in use; empty: the Configuration key serves.
    std::string m_strActiveConfiguration;

private:
    void AllocateSettingCells();
    void FreeSettings();
    bool TakePrinter(const ConverterCommandLineInfo& cmdInfo, const std::string& strCaption);
    void RunSingleFile(std::string strFileName, const std::string& strCaption);
    void RunMainWindow();
};

// The application object, for the code that needs its shared settings and state.
ConverterApp& GetConverterApp();
