// Start-up as the program runs it: registry, command line, settings, printer search,
// run mode, and each way InitInstance ends.
#include "DrivenWindow.h"
#include "FakeSpooler.h"
#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"

#include "app/ConverterApp.h"
#include "config/RegistryPaths.h"
#include "engine/PrinterDiscoveryWin.h"
#include "framework/SystemMessage.h"
#include "ui/ShellCalls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kCaption[] = "PostScript zu PDF";
const char kNoPrinter[] = "Drucker f\xFCr Veltrane Quillon nicht gefunden.  Abbruch.";
constexpr UINT kStartupFlags = MB_TASKMODAL | MB_ICONERROR;
constexpr UINT kStatusFlags = MB_TOPMOST | MB_TASKMODAL | MB_ICONERROR;

const char* const kDwordNames[] = {
    "Reporting",  "General",          "Fonts",          "Colour",        "Grey", "Monochrome",
    "Resolution", "ColourResolution", "GreyResolution", "MonoResolution"};

void SeedSettingsKey(const std::string& strKey, uint32_t dwGeneral) {
    for (const char* pszName : kDwordNames)
        regtest::SetDword(HKEY_LOCAL_MACHINE, strKey, pszName, 0);
    regtest::SetDword(HKEY_LOCAL_MACHINE, strKey, "General", dwGeneral);
    regtest::SetText(HKEY_LOCAL_MACHINE, strKey, "EmbedFonts", "");
    regtest::SetText(HKEY_LOCAL_MACHINE, strKey, "NeverEmbedFonts", "");
    regtest::SetText(HKEY_LOCAL_MACHINE, strKey, "OutputPath", "C:\\out");
}

FakePrinter Printer(const std::string& strName, const std::string& strDriver,
                    const std::string& strPort, DWORD dwStatus = 0) {
    FakePrinter printer;
    printer.optName = strName;
    printer.optDriver = strDriver;
    printer.optPort = strPort;
    printer.dwStatus = dwStatus;
    return printer;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        SeedSettingsKey(CONFIGURATION_KEY, 0);
        regtest::SetDword(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "SaveRequest", 1);

        m_nSavedArgc = __argc;
        m_ppszSavedArgv = __argv;

        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = std::string(szTemp) + "PsZuPdfStartupTest";
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        m_strFile = m_strDir + "\\datei.ps";
        HANDLE hFile = CreateFileA(m_strFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD dwWritten = 0;
        WriteFile(hFile, "%!PS\n", 5, &dwWritten, nullptr);
        CloseHandle(hFile);
        GetCurrentDirectoryA(sizeof szTemp, szTemp);
        m_strSavedDir = szTemp;
        SetCurrentDirectoryA(m_strDir.c_str());
    }

    void TearDown() override {
        SetCurrentDirectoryA(m_strSavedDir.c_str());
        __argc = m_nSavedArgc;
        __argv = m_ppszSavedArgv;
        DeleteFileA(m_strFile.c_str());
        RemoveDirectoryA(m_strDir.c_str());
        EXPECT_EQ(m_fake.OpenHandleCount(), 0u) << "a printer handle was left open";
    }

    // Runs InitInstance of a fresh application object with these arguments.
    BOOL Start(ConverterApp& app, std::vector<std::string> args) {
        m_args = std::move(args);
        m_args.insert(m_args.begin(), "PsZuPdf.exe");
        m_argv.clear();
        for (std::string& arg : m_args)
            m_argv.push_back(&arg[0]);
        m_argv.push_back(nullptr);
        __argc = static_cast<int>(m_args.size());
        __argv = m_argv.data();
        return app.InitInstance();
    }

    std::vector<std::string> Captions() {
        std::vector<std::string> captions;
        for (const MessageBoxRequest& box : m_boxes.Boxes())
            captions.push_back(box.strCaption);
        return captions;
    }

    void ExpectOneBox(const std::string& strText, UINT nFlags) {
        std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].strText, strText);
        EXPECT_EQ(boxes[0].strCaption, kCaption);
        EXPECT_EQ(boxes[0].nType, nFlags);
        EXPECT_EQ(boxes[0].hOwner, nullptr);
        EXPECT_EQ(boxes[0].wLanguage, 0);
    }

    std::string FullPath(const std::string& strName) { return m_strDir + "\\" + strName; }

    regtest::ScratchLocalMachine m_scratch;
    FakeSpooler m_fake;
    FakeSpoolerInstaller m_installer{m_fake};
    MessageBoxRecorder m_boxes;
    std::string m_strDir, m_strFile, m_strSavedDir;
    int m_nSavedArgc = 0;
    char** m_ppszSavedArgv = nullptr;
    std::vector<std::string> m_args;
    std::vector<char*> m_argv;
};

TEST_F(StartupTest, NoConverterPrinterShowsMessage14OnlyAndNeverOpensTheFile) {
    m_fake.AddPrinter(Printer("Laser", "HP LaserJet", "LPT1:"));
    // The file is locked: were it opened, message 109 would appear.
    HANDLE hLock =
        CreateFileA(m_strFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ConverterApp app;
    EXPECT_FALSE(Start(app, {"datei.ps"}));
    CloseHandle(hLock);
    ExpectOneBox(kNoPrinter, kStartupFlags);
    EXPECT_STREQ(g_szPrinterName, "");
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::OpenPrinter).empty());
    app.ExitInstance();
}

TEST_F(StartupTest, SettingsReportsComeBeforeThePrinterMessage) {
    regtest::DeleteTree(HKEY_LOCAL_MACHINE, PRODUCT_KEY);
    ConverterApp app;
    EXPECT_FALSE(Start(app, {}));
    std::vector<std::string> captions = Captions();
    // SaveRequest and the thirteen values of the missing key, then the printer.
    std::vector<std::string> expected(14, "Systemsteuerungsfehler");
    expected.push_back(kCaption);
    EXPECT_EQ(captions, expected);
    app.ExitInstance();
}

struct ConfigurationCase {
    const char* pszRegistryActive; // null: no ActiveConfiguration value
    std::vector<std::string> args;
    std::string strExpectedActive;
    int32_t nExpectedGeneral;
};

TEST_F(StartupTest, ActiveConfigurationFromRegistryThenCommandLine) {
    const std::string strReg = CONFIGURATIONS_KEY "\\Reg";
    const std::string strCmd = CONFIGURATIONS_KEY "\\Cmd Line";
    const ConfigurationCase cases[] = {
        {nullptr, {}, "", 0x11},
        {"Reg", {}, "Reg", 0x22},
        {"Reg", {"/CCmd Line"}, "Cmd Line", 0x33},
        {"Reg", {"/CMissing"}, "Reg", 0x22},
        {nullptr, {"/cCmd Line"}, "Cmd Line", 0x33},
    };
    for (const ConfigurationCase& c : cases) {
        regtest::DeleteTree(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY);
        SeedSettingsKey(CONFIGURATION_KEY, 0x11);
        SeedSettingsKey(strReg, 0x22);
        SeedSettingsKey(strCmd, 0x33);
        if (c.pszRegistryActive)
            regtest::SetText(HKEY_LOCAL_MACHINE, CONFIGURATIONS_KEY, "ActiveConfiguration",
                             c.pszRegistryActive);
        ConverterApp app;
        Start(app, c.args);
        EXPECT_EQ(app.m_strActiveConfiguration, c.strExpectedActive);
        EXPECT_EQ(app.General.Get(), c.nExpectedGeneral) << c.strExpectedActive;
        app.ExitInstance();
    }
    EXPECT_EQ(Captions(), std::vector<std::string>(5, kCaption)); // only message 14, each time
}

TEST_F(StartupTest, SwitchesAreCopiedAndAppliedAndExitFreesTheSettings) {
    ConverterApp app;
    Start(app, {"/D1", "/E1", "/V0", "/Quiet", "/U1"});
    EXPECT_EQ(app.m_bDSet, 1);
    EXPECT_EQ(app.m_bDValue, 1);
    EXPECT_EQ(app.m_bESet, 1);
    EXPECT_EQ(app.m_bEValue, 1);
    EXPECT_EQ(app.m_bVSet, 1);
    EXPECT_EQ(app.m_bVValue, 0);
    EXPECT_EQ(app.m_bQSet, 1);
    EXPECT_EQ(app.m_bUSet, 1);
    EXPECT_EQ(app.m_bUValue, 0);
    ASSERT_TRUE(app.SaveRequest.IsAllocated());
    EXPECT_EQ(app.SaveRequest.Get(), 0); // /D1 wins over the registry's 1
    EXPECT_EQ(static_cast<uint32_t>(app.General.Get()), 0x08000000u);
    ASSERT_NE(app.OutputPath, nullptr);
    EXPECT_STREQ(app.OutputPath.get(), "C:\\out");

    app.ExitInstance();
    for (const SettingCell* pCell :
         {&app.SaveRequest, &app.Reporting, &app.General, &app.Colour, &app.Grey, &app.Monochrome,
          &app.Fonts, &app.Resolution, &app.ColourResolution, &app.GreyResolution,
          &app.MonoResolution})
        EXPECT_FALSE(pCell->IsAllocated());
    EXPECT_EQ(app.OutputPath, nullptr);
    EXPECT_EQ(app.EmbedFonts, nullptr);
    EXPECT_EQ(app.NeverEmbedFonts, nullptr);
}

TEST_F(StartupTest, InputThatCannotBeOpenedShowsMessage109WithTheAbsoluteName) {
    m_fake.AddPrinter(Printer("Quillon", "Veltrane Quillon", "VeltraneQuillonPort"));
    CreateDirectoryA(FullPath("ordner.ps").c_str(), nullptr);
    HANDLE hOther =
        CreateFileA(m_strFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    for (const char* pszName : {"fehlt.ps", "ordner.ps", "datei.ps"}) {
        ConverterApp app;
        EXPECT_FALSE(Start(app, {pszName}));
        app.ExitInstance();
    }
    CloseHandle(hOther);
    RemoveDirectoryA(FullPath("ordner.ps").c_str());

    std::vector<MessageBoxRequest> boxes = m_boxes.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    const char* names[] = {"fehlt.ps", "ordner.ps", "datei.ps"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(boxes[i].strText, "Eingabedatei " + FullPath(names[i]) +
                                        " konnte nicht ge\xF6"
                                        "ffnet werden.\n\n");
        EXPECT_EQ(boxes[i].strCaption, kCaption);
        EXPECT_EQ(boxes[i].nType, kStartupFlags);
    }
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::OpenPrinter).empty());
}

struct StatusCase {
    DWORD dwStatus;
    const char* pszMessage; // null: ready, no message
};

TEST_F(StartupTest, PrinterStatusIsTestedBeforeTheJobWithTheStatusFlags) {
    const StatusCase cases[] = {
        {0, nullptr},
        {PRINTER_STATUS_PAUSED,
         "Der Drucker wurde pausiert und ist daher nicht f\xFCr Druckauftr\xE4ge verf\xFC"
         "gbar.  Machen Sie den Drucker \xFC"
         "ber Start->Einstellungen->Drucker wieder aktiv."},
        {PRINTER_STATUS_PENDING_DELETION,
         "Der Drucker wurde gel\xF6scht und ist daher nicht f\xFCr Druckauftr\xE4ge verf\xFC"
         "gbar. System neu starten."},
        {PRINTER_STATUS_PAUSED | PRINTER_STATUS_ERROR,
         "Im Drucker liegt ein unbekannter Fehler vor und er ist daher nicht f\xFCr "
         "Druckauftr\xE4ge verf\xFCgbar.  Starten Sie den Rechner neu."},
    };
    m_fake.AddPrinter(Printer("Quillon", "Veltrane Quillon", "VeltraneQuillonPort"));
    for (const StatusCase& c : cases) {
        m_fake.SetStatus("Quillon", c.dwStatus);
        MessageBoxRecorder boxes;
        ConverterApp app;
        EXPECT_FALSE(Start(app, {"datei.ps"}));
        app.ExitInstance();
        std::vector<MessageBoxRequest> shown = boxes.Boxes();
        if (!c.pszMessage) {
            EXPECT_TRUE(shown.empty());
            continue;
        }
        ASSERT_EQ(shown.size(), 1u) << c.dwStatus;
        EXPECT_EQ(shown[0].strText, c.pszMessage);
        EXPECT_EQ(shown[0].strCaption, kCaption);
        EXPECT_EQ(shown[0].nType, kStatusFlags);
    }
    EXPECT_EQ(m_fake.Calls(SpoolerFunction::OpenPrinter).size(), 4u);
    EXPECT_EQ(m_fake.Calls(SpoolerFunction::ClosePrinter).size(), 4u);
}

TEST_F(StartupTest, PrinterThatDoesNotOpenShowsTheSystemsText) {
    m_fake.AddPrinter(Printer("Quillon", "Veltrane Quillon", "VeltraneQuillonPort"));
    m_fake.FailOpenPrinter(ERROR_ACCESS_DENIED);
    ConverterApp app;
    EXPECT_FALSE(Start(app, {"datei.ps"}));
    app.ExitInstance();
    ExpectOneBox(SystemErrorText(ERROR_ACCESS_DENIED, 255), kStartupFlags);
}

TEST_F(StartupTest, PrinterNamedWithPtIsUsedWithoutSearch) {
    m_fake.AddPrinter(Printer("Quillon", "Veltrane Quillon", "VeltraneQuillonPort"));
    m_fake.AddPrinter(Printer("Drucker", "Anderer Treiber", "LPT1:"));
    ConverterApp app;
    EXPECT_FALSE(Start(app, {"/pt", "datei.ps", "Drucker", "Treiber", "Anschluss"}));
    app.ExitInstance();
    EXPECT_TRUE(m_boxes.Boxes().empty());
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::EnumPrinters).empty());
    std::vector<SpoolerCall> opens = m_fake.Calls(SpoolerFunction::OpenPrinter);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].optName, std::optional<std::string>("Drucker"));
}

TEST_F(StartupTest, PtNameThatNoPrinterHasFailsToOpen) {
    ConverterApp app;
    EXPECT_FALSE(Start(app, {"/pt", "datei.ps", "Gibt es nicht"}));
    app.ExitInstance();
    ExpectOneBox(SystemErrorText(ERROR_INVALID_PRINTER_NAME, 255), kStartupFlags);
}

TEST_F(StartupTest, PtNameLongerThan255CharactersIsRefusedNotCut) {
    std::string strLong(256, 'D');
    m_fake.AddPrinter(Printer(strLong.substr(0, 255), "Veltrane Quillon", "x"));
    ConverterApp app;
    EXPECT_FALSE(Start(app, {"/pt", "datei.ps", strLong}));
    app.ExitInstance();
    ExpectOneBox(SystemErrorText(ERROR_INVALID_PRINTER_NAME, 255), kStartupFlags);
    EXPECT_TRUE(m_fake.Calls().empty());
}

TEST_F(StartupTest, MainWindowOpensWithoutStatusTestAndEndsTheRun) {
    regtest::SetText(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, "Install", "C:\\Quillon");
    std::vector<std::string> helpCalls;
    ScopedWinHelp winHelp([&](HWND, const char* pszFile, UINT uCommand, ULONG_PTR) {
        helpCalls.push_back(std::string(pszFile) + " " + std::to_string(uCommand));
        return TRUE;
    });
    m_fake.AddPrinter(
        Printer("Quillon", "Veltrane Quillon", "VeltraneQuillonPort", PRINTER_STATUS_PAUSED));
    ConverterApp app;
    bool bStarted = RunDriven(
        "PostScript-zu-PDF-Konverter", [&] { return Start(app, {}); },
        [&](HWND hWnd) {
            EXPECT_TRUE(app.m_pMainWnd && app.m_pMainWnd->m_hWnd == hWnd);
            PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
        });
    EXPECT_FALSE(bStarted);
    app.ExitInstance();
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(m_boxes.Boxes().empty());
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::OpenPrinter).empty());
    EXPECT_STREQ(g_szPrinterName, "Quillon");
    // Closing the window closes a help window the program may have opened.
    EXPECT_EQ(helpCalls, (std::vector<std::string>{"C:\\Quillon\\Quillon.hlp 2"}));
}

} // namespace
