#include "engine/PrinterDiscoveryWin.h"

#include "config/RegistryPaths.h"
#include "engine/Spooler.h"
#include "framework/SystemMessage.h"
#include "tests/win/FakeSpooler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// Owns the real "PortName" value for one test: whatever was there is put back afterwards,
// and a Configuration key the test had to create is removed again.
class PortNameValue {
public:
    PortNameValue() {
        DWORD dwDisposition = 0;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY, 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &m_hKey, &dwDisposition));
        m_bCreatedKey = dwDisposition == REG_CREATED_NEW_KEY;
        DWORD cbData = 0;
        if (RegQueryValueExA(m_hKey, "PortName", nullptr, &m_dwSavedType, nullptr, &cbData) ==
            ERROR_SUCCESS) {
            m_saved.resize(cbData);
            m_bHadValue = RegQueryValueExA(m_hKey, "PortName", nullptr, &m_dwSavedType,
                                           m_saved.data(), &cbData) == ERROR_SUCCESS;
        }
        Remove();
    }
    ~PortNameValue() {
        if (m_bHadValue)
            RegSetValueExA(m_hKey, "PortName", 0, m_dwSavedType, m_saved.data(),
                           static_cast<DWORD>(m_saved.size()));
        else
            Remove();
        RegCloseKey(m_hKey);
        if (m_bCreatedKey)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, CONFIGURATION_KEY);
    }
    PortNameValue(const PortNameValue&) = delete;
    PortNameValue& operator=(const PortNameValue&) = delete;

    // Stores exactly cbData bytes. The registry counts a string's terminator when it
    // follows the data unannounced, so a non-zero byte follows it here.
    void Set(DWORD dwType, const void* pData, DWORD cbData) {
        std::vector<BYTE> data(static_cast<const BYTE*>(pData),
                               static_cast<const BYTE*>(pData) + cbData);
        data.push_back('z');
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(m_hKey, "PortName", 0, dwType, data.data(), cbData));
    }
    void SetText(const std::string& strText) {
        Set(REG_SZ, strText.c_str(), static_cast<DWORD>(strText.size() + 1));
    }
    void Remove() { RegDeleteValueA(m_hKey, "PortName"); }

private:
    HKEY m_hKey = nullptr;
    bool m_bCreatedKey = false;
    bool m_bHadValue = false;
    DWORD m_dwSavedType = 0;
    std::vector<BYTE> m_saved;
};

std::optional<std::string> Text(const char* psz) {
    return psz ? std::optional<std::string>(psz) : std::nullopt;
}

std::string ReadPortNameText() {
    char szBuffer[256];
    std::memset(szBuffer, 'x', sizeof szBuffer);
    EXPECT_TRUE(ReadPortName(szBuffer));
    if (!std::memchr(szBuffer, '\0', sizeof szBuffer)) {
        ADD_FAILURE() << "port name left unterminated";
        return std::string(szBuffer, sizeof szBuffer);
    }
    return std::string(szBuffer);
}

struct PortValueCase {
    const char* pszName;
    DWORD dwType;
    std::string strData; // the value's bytes as stored
    std::string strExpected;
};

TEST(ReadPortNameTest, ValueMissingGivesDefault) {
    PortNameValue value;
    EXPECT_EQ("VeltraneQuillonPort", ReadPortNameText());
}

TEST(ReadPortNameTest, UsesOnlyTextValuesThatFit) {
    const std::string strLongest(255, 'p');
    const std::string strTooLong(256, 'q');
    const PortValueCase cases[] = {
        {"custom REG_SZ", REG_SZ, std::string("CustomPort", 11), "CustomPort"},
        {"empty REG_SZ", REG_SZ, std::string(1, '\0'), "VeltraneQuillonPort"},
        {"REG_SZ of no bytes", REG_SZ, std::string(), "VeltraneQuillonPort"},
        {"REG_DWORD", REG_DWORD, std::string("\x01\x00\x00\x00", 4), "VeltraneQuillonPort"},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, std::string("CustomPort", 11), "VeltraneQuillonPort"},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::string("CustomPort\0", 12), "VeltraneQuillonPort"},
        {"REG_BINARY", REG_BINARY, std::string("CustomPort", 11), "VeltraneQuillonPort"},
        {"255 characters", REG_SZ, strLongest + '\0', strLongest},
        {"256 characters", REG_SZ, strTooLong + '\0', "VeltraneQuillonPort"},
        {"stored without terminator", REG_SZ, "MyPort", "MyPort"},
        {"256 bytes without terminator", REG_SZ, strTooLong, "VeltraneQuillonPort"},
    };
    PortNameValue value;
    for (const PortValueCase& c : cases) {
        value.Set(c.dwType, c.strData.data(), static_cast<DWORD>(c.strData.size()));
        EXPECT_EQ(c.strExpected, ReadPortNameText()) << c.pszName;
    }
}

// Each test starts with no converter found, no PortName value and the fake in place.
class PrinterDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_szPrinterName[0] = '\0';
        g_hPrinter = nullptr;
    }
    void TearDown() override { g_szPrinterName[0] = '\0'; }

    void Add(const char* pszName, const char* pszPort, const char* pszDriver, DWORD dwStatus = 0) {
        FakePrinter printer;
        printer.optName = Text(pszName);
        printer.optPort = Text(pszPort);
        printer.optDriver = Text(pszDriver);
        printer.dwStatus = dwStatus;
        m_fake.AddPrinter(printer);
    }

    PortNameValue m_portName;
    FakeSpooler m_fake;
    FakeSpoolerInstaller m_installer{m_fake};
};

TEST_F(PrinterDiscoveryTest, FindsByDriverWithTwoEnumCalls) {
    Add("Laser", "LPT1:", "HP LaserJet");
    Add("PDF Queue", "FILE:", "Veltrane Quillon");
    Add("Later", "VeltraneQuillonPort", "Veltrane Quillon");
    FindConverterPrinter();
    EXPECT_STREQ("PDF Queue", g_szPrinterName);

    std::vector<SpoolerCall> calls = m_fake.Calls(SpoolerFunction::EnumPrinters);
    ASSERT_EQ(2u, calls.size());
    for (const SpoolerCall& call : calls) {
        EXPECT_EQ(static_cast<DWORD>(PRINTER_ENUM_LOCAL), call.dwFlags);
        EXPECT_FALSE(call.optName.has_value());
        EXPECT_EQ(2u, call.dwLevel);
    }
    EXPECT_TRUE(calls[0].bBufferNull);
    EXPECT_EQ(0u, calls[0].cbBuf);
    EXPECT_EQ(calls[0].cbNeeded, calls[1].cbBuf);
    EXPECT_EQ(TRUE, calls[1].dwResult);
}

TEST_F(PrinterDiscoveryTest, FindsByDefaultPort) {
    Add("Laser", "LPT1:", "HP LaserJet");
    Add("Renamed", "VeltraneQuillonPort", "Generic PostScript");
    FindConverterPrinter();
    EXPECT_STREQ("Renamed", g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, FindsByCustomPortOnly) {
    m_portName.SetText("CustomPort");
    Add("OnDefaultPort", "VeltraneQuillonPort", "Generic");
    Add("OnCustomPort", "CustomPort", "Generic");
    FindConverterPrinter();
    EXPECT_STREQ("OnCustomPort", g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, NoMatchLeavesNameEmpty) {
    Add("Laser", "LPT1:", "HP LaserJet");
    Add("Multi", "VeltraneQuillonPort,LPT1:", "Generic");
    Add("Cased", "LPT2:", "Veltrane quillon");
    Add("Nulls", nullptr, nullptr);
    FindConverterPrinter();
    EXPECT_STREQ("", g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, NoPrintersLeavesNameEmpty) {
    FindConverterPrinter();
    EXPECT_STREQ("", g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, EnumFailuresLeaveNameEmpty) {
    Add("PDF Queue", "FILE:", "Veltrane Quillon");
    struct Case {
        DWORD dwError;
        size_t nFailingCall;
        size_t nExpectedCalls;
    };
    const Case cases[] = {
        {ERROR_ACCESS_DENIED, 0, 1},
        {RPC_S_SERVER_UNAVAILABLE, 0, 1},
        {ERROR_INVALID_PARAMETER, 0, 1},
        // The list grew between the two calls, or the second one failed otherwise.
        {ERROR_INSUFFICIENT_BUFFER, 1, 2},
        {ERROR_ACCESS_DENIED, 1, 2},
    };
    for (const Case& c : cases) {
        FakeSpooler fake;
        FakePrinter printer;
        printer.optName = "PDF Queue";
        printer.optDriver = "Veltrane Quillon";
        fake.AddPrinter(printer);
        fake.FailEnumPrinters(c.dwError, c.nFailingCall);
        FakeSpoolerInstaller installer(fake);
        g_szPrinterName[0] = '\0';
        FindConverterPrinter();
        EXPECT_STREQ("", g_szPrinterName) << c.dwError << " on call " << c.nFailingCall;
        EXPECT_EQ(c.nExpectedCalls, fake.Calls(SpoolerFunction::EnumPrinters).size());
    }
}

// A name that does not fit the 256-byte buffer can be neither copied whole nor opened
// by a cut-short name: the search goes on to the next match.
TEST_F(PrinterDiscoveryTest, PassesOverNamesThatDoNotFit) {
    const std::string strTooLong(256, 'n');
    const std::string strLongest(255, 'm');
    Add(strTooLong.c_str(), "FILE:", "Veltrane Quillon");
    Add(strLongest.c_str(), "VeltraneQuillonPort", "Generic");
    FindConverterPrinter();
    EXPECT_EQ(strLongest, g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, OnlyMatchTooLongLeavesNameEmpty) {
    const std::string strTooLong(300, 'n');
    Add(strTooLong.c_str(), "FILE:", "Veltrane Quillon");
    FakePrinter unnamed;
    unnamed.optDriver = "Veltrane Quillon";
    m_fake.AddPrinter(unnamed);
    FindConverterPrinter();
    EXPECT_STREQ("", g_szPrinterName);
}

TEST_F(PrinterDiscoveryTest, StatusGivesOutcomeAndMessage) {
    struct Case {
        DWORD dwStatus;
        PrinterCheck::Outcome eOutcome;
        UINT nMessageId;
    };
    const Case cases[] = {
        {0, PrinterCheck::Ready, 0},         {1, PrinterCheck::NotReady, 16},
        {4, PrinterCheck::NotReady, 15},     {1 + 2, PrinterCheck::NotReady, 17},
        {2, PrinterCheck::NotReady, 17},     {0x400, PrinterCheck::NotReady, 17},
        {1 + 4, PrinterCheck::NotReady, 17},
    };
    Add("PDF Queue", "FILE:", "Veltrane Quillon");
    std::strcpy(g_szPrinterName, "PDF Queue");
    for (const Case& c : cases) {
        m_fake.SetStatus("PDF Queue", c.dwStatus);
        {
            PrinterCheck check = CheckPrinterReady();
            EXPECT_EQ(c.eOutcome, check.eOutcome) << "status " << c.dwStatus;
            EXPECT_EQ(c.nMessageId, check.nMessageId) << "status " << c.dwStatus;
            EXPECT_EQ("", check.strErrorText);

            // The check hands the open printer to the caller.
            std::vector<SpoolerCall> opens = m_fake.Calls(SpoolerFunction::OpenPrinter);
            ASSERT_FALSE(opens.empty());
            EXPECT_EQ(opens.back().hPrinter, check.printer.Get());
            EXPECT_EQ(std::string("PDF Queue"), opens.back().optName);
            EXPECT_TRUE(opens.back().bDefaultsNull);
            EXPECT_EQ(1u, m_fake.OpenHandleCount());
            EXPECT_EQ(nullptr, g_hPrinter);
        }
        EXPECT_EQ(0u, m_fake.OpenHandleCount());
    }
    for (const SpoolerCall& call : m_fake.Calls(SpoolerFunction::GetPrinter))
        EXPECT_EQ(2u, call.dwLevel);
    EXPECT_EQ(2 * (sizeof cases / sizeof cases[0]),
              m_fake.Calls(SpoolerFunction::GetPrinter).size());
}

TEST_F(PrinterDiscoveryTest, OpenFailureGivesSystemText) {
    Add("PDF Queue", "FILE:", "Veltrane Quillon");
    std::strcpy(g_szPrinterName, "No Such Printer");
    PrinterCheck check = CheckPrinterReady();
    EXPECT_EQ(PrinterCheck::OpenFailed, check.eOutcome);
    EXPECT_FALSE(check.strErrorText.empty());
    EXPECT_EQ(SystemErrorText(ERROR_INVALID_PRINTER_NAME, 255), check.strErrorText);
    EXPECT_FALSE(check.printer.IsValid());

    std::vector<SpoolerCall> calls = m_fake.Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(SpoolerFunction::OpenPrinter, calls[0].eFunction);
    EXPECT_EQ(std::string("No Such Printer"), calls[0].optName);

    m_fake.FailOpenPrinter(ERROR_ACCESS_DENIED);
    std::strcpy(g_szPrinterName, "PDF Queue");
    check = CheckPrinterReady();
    EXPECT_EQ(PrinterCheck::OpenFailed, check.eOutcome);
    EXPECT_EQ(SystemErrorText(ERROR_ACCESS_DENIED, 255), check.strErrorText);
    EXPECT_EQ(0u, m_fake.OpenHandleCount());
}

TEST_F(PrinterDiscoveryTest, UnreadableRecordIsNotReadyWithHandleOpen) {
    for (bool bOnlyRead : {false, true}) {
        FakeSpooler fake;
        FakePrinter printer;
        printer.optName = "PDF Queue";
        printer.dwGetPrinterError = ERROR_ACCESS_DENIED;
        printer.bOnlyReadFails = bOnlyRead;
        fake.AddPrinter(printer);
        FakeSpoolerInstaller installer(fake);
        std::strcpy(g_szPrinterName, "PDF Queue");

        PrinterCheck check = CheckPrinterReady();
        EXPECT_EQ(PrinterCheck::NotReady, check.eOutcome) << bOnlyRead;
        EXPECT_EQ(17u, check.nMessageId) << bOnlyRead;
        EXPECT_EQ(bOnlyRead ? 2u : 1u, fake.Calls(SpoolerFunction::GetPrinter).size());
        EXPECT_EQ(1u, fake.OpenHandleCount());
        check.printer.Close();
        EXPECT_EQ(0u, fake.OpenHandleCount());
    }
}

TEST(SetPrinterNameTest, RefusesNamesThatWouldBeCutShort) {
    const std::string strLongest(255, 'a');
    EXPECT_TRUE(SetPrinterName(strLongest));
    EXPECT_EQ(strLongest, g_szPrinterName);

    EXPECT_FALSE(SetPrinterName(std::string(256, 'b')));
    EXPECT_EQ(strLongest, g_szPrinterName);
    EXPECT_FALSE(SetPrinterName(std::string(4000, 'c')));
    EXPECT_EQ(strLongest, g_szPrinterName);

    EXPECT_TRUE(SetPrinterName("Other Printer"));
    EXPECT_STREQ("Other Printer", g_szPrinterName);
    g_szPrinterName[0] = '\0';
}

} // namespace
