#include "config/Registry.h"
#include "config/RegistryReportWin.h"

#include "MessageBoxRecorder.h"
#include "RegistryTestUtil.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace regtest;

namespace {

constexpr char kScratchRoot[] = "SOFTWARE\\PsZuPdfTest";

// Checks that exactly one report was shown, with this text, after one beep.
void ExpectOneReport(MessageBoxRecorder& recorder, const std::string& strText) {
    std::vector<MessageBoxRequest> boxes = recorder.Boxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(strText, boxes[0].strText);
    EXPECT_EQ(kReportCaption, boxes[0].strCaption);
    EXPECT_EQ(kReportFlags, boxes[0].nType);
    EXPECT_EQ(nullptr, boxes[0].hOwner);
    EXPECT_EQ(0, boxes[0].wLanguage);
    EXPECT_EQ(std::vector<UINT>{MB_ICONHAND}, recorder.Beeps());
}

void ExpectNothingShown(MessageBoxRecorder& recorder) {
    EXPECT_TRUE(recorder.Boxes().empty());
    EXPECT_TRUE(recorder.Beeps().empty());
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_strKey = std::string(kScratchRoot) + "\\" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveScratch();
        ASSERT_FALSE(SystemErrorText(ERROR_FILE_NOT_FOUND, 255).empty());
    }
    void TearDown() override {
        RemoveScratch();
        // Gone only when no other test's key is left below it.
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, kScratchRoot);
        RegDeleteKeyA(HKEY_CURRENT_USER, kScratchRoot);
    }
    void RemoveScratch() {
        DeleteTree(HKEY_LOCAL_MACHINE, m_strKey);
        DeleteTree(HKEY_CURRENT_USER, m_strKey);
    }

    std::string m_strKey;
};

struct StoredValue {
    const char* pszLabel;
    DWORD dwType;
    Bytes data;
    uint32_t dwExpected;
    std::string strExpected;
};

TEST_F(RegistryTest, ReadsRawBytesWhateverTheType) {
    const StoredValue kValues[] = {
        {"empty binary", REG_BINARY, {}, 0, ""},
        {"empty text", REG_SZ, {}, 0, ""},
        {"text 1 as number", REG_SZ, {'1', 0}, 49, "1"},
        {"four binary bytes", REG_BINARY, {0x78, 0x56, 0x34, 0x12}, 0x12345678, "xV4\x12"},
        {"dword", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, 0x12345678, "xV4\x12"},
        {"all bits", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF, "\xFF\xFF\xFF\xFF"},
        {"two bytes", REG_BINARY, {0x34, 0x12}, 0x1234, "4\x12"},
        {"one byte", REG_BINARY, {0x9A}, 0x9A, "\x9A"},
        {"six bytes", REG_BINARY, {1, 2, 3, 4, 5, 6}, 0x04030201, "\x01\x02\x03\x04\x05\x06"},
        {"strings in a row", REG_MULTI_SZ, {'a', 'b', 0, 'c', 'd', 0, 0}, 0x63006261, "ab"},
        {"zero inside binary", REG_BINARY, {'x', 0, 'y'}, 0x00790078, "x"},
        {"no terminator", REG_BINARY, {'a', 'b', 'c'}, 0x00636261, "abc"},
        {"code page 1252", REG_SZ, {0xE4, 0xF6, 0xDF, 0}, 0x00DFF6E4, "\xE4\xF6\xDF"},
    };
    for (const StoredValue& value : kValues) {
        SCOPED_TRACE(value.pszLabel);
        ASSERT_TRUE(SetRaw(HKEY_LOCAL_MACHINE, m_strKey, "V", value.dwType, value.data));

        ValueBlock block(new char[1]);
        int nSize = ReadRegistryValue(HKEY_LOCAL_MACHINE, "V", m_strKey.c_str(), block, false);
        ASSERT_EQ(static_cast<int>(value.data.size()), nSize);
        ASSERT_TRUE(block);
        EXPECT_EQ(value.data, Bytes(block.get(), block.get() + nSize));
        EXPECT_EQ('\0', block[nSize]);

        EXPECT_EQ(value.dwExpected,
                  ReadRegistryDword(HKEY_LOCAL_MACHINE, "V", m_strKey.c_str(), false));
        EXPECT_EQ(value.strExpected,
                  ReadRegistryString(HKEY_LOCAL_MACHINE, "V", m_strKey.c_str(), false));
    }
}

// The three reads, each checked for its failure result.
struct ReadCall {
    const char* pszName;
    std::function<void(HKEY, const char*, const char*, bool)> check;
};

const ReadCall kReadCalls[] = {
    {"ReadRegistryValue",
     [](HKEY hRoot, const char* pszValue, const char* pszKey, bool bSilent) {
         ValueBlock block(new char[1]);
         EXPECT_EQ(-1, ReadRegistryValue(hRoot, pszValue, pszKey, block, bSilent));
         EXPECT_FALSE(block);
     }},
    {"ReadRegistryDword",
     [](HKEY hRoot, const char* pszValue, const char* pszKey, bool bSilent) {
         EXPECT_EQ(0u, ReadRegistryDword(hRoot, pszValue, pszKey, bSilent));
     }},
    {"ReadRegistryString",
     [](HKEY hRoot, const char* pszValue, const char* pszKey, bool bSilent) {
         EXPECT_EQ("", ReadRegistryString(hRoot, pszValue, pszKey, bSilent));
     }},
};

struct ReadFailure {
    const char* pszLabel;
    HKEY hRoot;
    std::string strKeyPath;
    const char* pszValueName;
    std::string strExpectedText;
};

TEST_F(RegistryTest, FailedReadsReportTheStepAndPathUnlessSilent) {
    ASSERT_TRUE(SetDword(HKEY_LOCAL_MACHINE, m_strKey, "Present", 1));
    const std::string strMissingKey = m_strKey + "\\Missing";
    const ReadFailure kFailures[] = {
        {"missing key", HKEY_LOCAL_MACHINE, strMissingKey, "V",
         ReportText(ERROR_FILE_NOT_FOUND, OpenStep("HKEY_LOCAL_MACHINE\\" + strMissingKey))},
        {"missing value", HKEY_LOCAL_MACHINE, m_strKey, "Nope",
         ReportText(ERROR_FILE_NOT_FOUND, SizeStep("HKEY_LOCAL_MACHINE\\" + m_strKey + "\\Nope"))},
        {"missing key under the current user", HKEY_CURRENT_USER, strMissingKey, "V",
         ReportText(ERROR_FILE_NOT_FOUND, OpenStep("HKEY_CURRENT_USER\\" + strMissingKey))},
        {"root without a name, missing key", HKEY_USERS, "PsZuPdfTestMissing\\Key", "V",
         ReportText(ERROR_FILE_NOT_FOUND, OpenStep("PsZuPdfTestMissing\\Key"))},
        {"root without a name, missing value", HKEY_USERS, ".DEFAULT", "PsZuPdfTestNope",
         ReportText(ERROR_FILE_NOT_FOUND, SizeStep(".DEFAULT\\PsZuPdfTestNope"))},
    };
    for (const ReadFailure& failure : kFailures) {
        for (const ReadCall& call : kReadCalls) {
            SCOPED_TRACE(std::string(failure.pszLabel) + ", " + call.pszName);
            {
                MessageBoxRecorder recorder;
                call.check(failure.hRoot, failure.pszValueName, failure.strKeyPath.c_str(), false);
                ExpectOneReport(recorder, failure.strExpectedText);
            }
            {
                MessageBoxRecorder recorder;
                call.check(failure.hRoot, failure.pszValueName, failure.strKeyPath.c_str(), true);
                ExpectNothingShown(recorder);
            }
        }
    }
}

struct WrittenValue {
    const char* pszLabel;
    DWORD dwType;
    Bytes data;
};

TEST_F(RegistryTest, WriteCreatesTheWholeKeyPath) {
    const std::string strDeepKey = m_strKey + "\\a\\b\\c";
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, m_strKey));

    const WrittenValue kValues[] = {
        {"text", REG_SZ, {'a', 'b', 0xE4, 0}},
        {"binary with zeros", REG_BINARY, {0, 1, 0, 2}},
        {"empty", REG_BINARY, {}},
        {"dword bytes", REG_DWORD, {1, 2, 3, 4}},
    };
    for (const WrittenValue& value : kValues) {
        SCOPED_TRACE(value.pszLabel);
        EXPECT_EQ(0, WriteRegistryValue(HKEY_LOCAL_MACHINE, value.pszLabel, strDeepKey.c_str(),
                                        value.data.data(), value.dwType,
                                        static_cast<DWORD>(value.data.size()), false));
        RawValue stored = GetRaw(HKEY_LOCAL_MACHINE, strDeepKey, value.pszLabel);
        ASSERT_EQ(ERROR_SUCCESS, stored.nError);
        EXPECT_EQ(value.dwType, stored.dwType);
        EXPECT_EQ(value.data, stored.data);
    }
}

TEST_F(RegistryTest, WriteDwordStoresFourLittleEndianBytes) {
    const std::string strDeepKey = m_strKey + "\\x\\y";
    const uint32_t kNumbers[] = {0, 1, 0x12345678, 0xFFFFFFFF};
    for (uint32_t dwNumber : kNumbers) {
        SCOPED_TRACE(dwNumber);
        EXPECT_EQ(0,
                  WriteRegistryDword(HKEY_LOCAL_MACHINE, "N", strDeepKey.c_str(), dwNumber, false));
        RawValue stored = GetRaw(HKEY_LOCAL_MACHINE, strDeepKey, "N");
        ASSERT_EQ(ERROR_SUCCESS, stored.nError);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.dwType);
        EXPECT_EQ(
            (Bytes{static_cast<unsigned char>(dwNumber), static_cast<unsigned char>(dwNumber >> 8),
                   static_cast<unsigned char>(dwNumber >> 16),
                   static_cast<unsigned char>(dwNumber >> 24)}),
            stored.data);
        EXPECT_EQ(dwNumber, ReadRegistryDword(HKEY_LOCAL_MACHINE, "N", strDeepKey.c_str(), false));
    }
}

struct WriteFailure {
    const char* pszLabel;
    HKEY hRoot;
    std::string strKeyPath;
    std::string strValueName;
    std::string strExpectedText;
};

TEST_F(RegistryTest, FailedWritesReportTheStepAndPathUnlessSilent) {
    // Value names are limited to 16383 characters.
    const std::string strLongName(16384, 'n');
    const WriteFailure kFailures[] = {
        {"key path with a leading backslash", HKEY_LOCAL_MACHINE, "\\" + m_strKey, "V",
         ReportText(ERROR_BAD_PATHNAME, CreateStep("HKEY_LOCAL_MACHINE\\\\" + m_strKey))},
        {"root that takes no keys", HKEY_PERFORMANCE_DATA, "PsZuPdfTest", "V",
         ReportText(ERROR_INVALID_HANDLE, CreateStep("PsZuPdfTest"))},
        {"value name too long", HKEY_LOCAL_MACHINE, m_strKey, strLongName,
         ReportText(ERROR_INVALID_PARAMETER,
                    WriteStep("HKEY_LOCAL_MACHINE\\" + m_strKey + "\\" + strLongName))},
    };
    for (const WriteFailure& failure : kFailures) {
        SCOPED_TRACE(failure.pszLabel);
        const BYTE data[4] = {1, 2, 3, 4};
        {
            MessageBoxRecorder recorder;
            EXPECT_EQ(-1, WriteRegistryValue(failure.hRoot, failure.strValueName.c_str(),
                                             failure.strKeyPath.c_str(), data, REG_BINARY,
                                             sizeof data, false));
            ExpectOneReport(recorder, failure.strExpectedText);
        }
        {
            MessageBoxRecorder recorder;
            EXPECT_EQ(-1, WriteRegistryDword(failure.hRoot, failure.strValueName.c_str(),
                                             failure.strKeyPath.c_str(), 7, false));
            ExpectOneReport(recorder, failure.strExpectedText);
        }
        {
            MessageBoxRecorder recorder;
            EXPECT_EQ(-1, WriteRegistryDword(failure.hRoot, failure.strValueName.c_str(),
                                             failure.strKeyPath.c_str(), 7, true));
            ExpectNothingShown(recorder);
        }
    }
}

TEST_F(RegistryTest, KeyExistsOnlyUnderLocalMachine) {
    ASSERT_TRUE(CreateKey(HKEY_LOCAL_MACHINE, m_strKey + "\\Present"));
    ASSERT_TRUE(CreateKey(HKEY_CURRENT_USER, m_strKey + "\\UserOnly"));
    struct Case {
        std::string strKeyPath;
        bool bExpected;
    };
    const Case kCases[] = {
        {m_strKey + "\\Present", true},   {m_strKey, true},
        {m_strKey + "\\Absent", false},   {m_strKey + "\\Present\\Below", false},
        {m_strKey + "\\UserOnly", false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.strKeyPath);
        EXPECT_EQ(c.bExpected, RegistryKeyExists(c.strKeyPath.c_str()));
    }
}

struct DirectReport {
    const char* pszLabel;
    UINT nStepId;
    DWORD dwError;
    HKEY hRoot;
    const char* pszKeyPath;
    const char* pszValueName;
    std::string strExpectedText;
};

const char kPathOfSaveRequest[] =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\VeltraneSystems\\Quillon\\Configuration\\SaveRequest";

TEST(RegistryReportTest, BuildsMessageFromSystemTextAndStep) {
    // A code the system has no text for.
    const DWORD kNoText = 0x2000FFFF;
    ASSERT_EQ("", SystemErrorText(kNoText, 255));
    ASSERT_FALSE(SystemErrorText(ERROR_ACCESS_DENIED, 255).empty());
    const DirectReport kReports[] = {
        {"value of the product tree", IDS_REG_SIZE, ERROR_FILE_NOT_FOUND, HKEY_LOCAL_MACHINE,
         "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", "SaveRequest",
         ReportText(ERROR_FILE_NOT_FOUND, SizeStep(kPathOfSaveRequest))},
        {"key of the product tree", IDS_REG_OPEN, ERROR_FILE_NOT_FOUND, HKEY_LOCAL_MACHINE,
         "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", nullptr,
         ReportText(ERROR_FILE_NOT_FOUND,
                    OpenStep("HKEY_LOCAL_MACHINE\\SOFTWARE\\VeltraneSystems\\Quillon\\"
                             "Configuration"))},
        {"current user", IDS_REG_CREATE, ERROR_ACCESS_DENIED, HKEY_CURRENT_USER, "Software\\X",
         nullptr, ReportText(ERROR_ACCESS_DENIED, CreateStep("HKEY_CURRENT_USER\\Software\\X"))},
        {"root without a name", IDS_REG_WRITE, ERROR_ACCESS_DENIED, HKEY_CLASSES_ROOT, "X", "Y",
         ReportText(ERROR_ACCESS_DENIED, WriteStep("X\\Y"))},
        {"no system text", IDS_REG_QUERY, kNoText, HKEY_LOCAL_MACHINE,
         "SOFTWARE\\VeltraneSystems\\Quillon\\Configuration", "SaveRequest",
         "\n" + QueryStep(kPathOfSaveRequest)},
        {"no step", 0, ERROR_FILE_NOT_FOUND, HKEY_LOCAL_MACHINE, "K", "V",
         SystemErrorText(ERROR_FILE_NOT_FOUND, 255)},
        {"percent signs in the path stay as they are", IDS_REG_OPEN, ERROR_FILE_NOT_FOUND,
         HKEY_LOCAL_MACHINE, "A%1B%%C%n", nullptr,
         ReportText(ERROR_FILE_NOT_FOUND, OpenStep("HKEY_LOCAL_MACHINE\\A%1B%%C%n"))},
    };
    for (const DirectReport& report : kReports) {
        SCOPED_TRACE(report.pszLabel);
        MessageBoxRecorder recorder;
        ReportRegistryError(report.nStepId, report.dwError, report.hRoot, report.pszKeyPath,
                            report.pszValueName);
        ExpectOneReport(recorder, report.strExpectedText);
    }
}

TEST(RegistryReportTest, BeepsBeforeTheBox) {
    MessageBoxRecorder recorder; // restores the failing hooks when the test ends
    std::vector<std::string> events;
    SetBeepHook([&events](UINT nType) { events.push_back("beep " + std::to_string(nType)); });
    SetMessageBoxHook([&events](const MessageBoxRequest&) {
        events.push_back("box");
        return IDOK;
    });
    ReportRegistryError(IDS_REG_OPEN, ERROR_FILE_NOT_FOUND, HKEY_LOCAL_MACHINE, "K", nullptr);
    EXPECT_EQ((std::vector<std::string>{"beep " + std::to_string(MB_ICONHAND), "box"}), events);
}

} // namespace
