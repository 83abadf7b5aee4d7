// The fake spooler's write behaviour, which the spool worker's tests rely on.
#include "tests/win/FakeSpooler.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

class FakeSpoolerTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakePrinter printer;
        printer.optName = "Queue";
        printer.optDriver = "Veltrane Quillon";
        m_fake.AddPrinter(printer);
        char szName[] = "Queue";
        ASSERT_TRUE(m_fake.OpenPrinterA(szName, &m_hPrinter, nullptr));
    }

    DWORD StartDoc(const char* pszName) {
        DOC_INFO_1A info{const_cast<char*>(pszName), nullptr, const_cast<char*>("RAW")};
        return m_fake.StartDocPrinterA(m_hPrinter, 1, reinterpret_cast<BYTE*>(&info));
    }

    BOOL Write(const std::string& strBytes, DWORD& cbWritten) {
        return m_fake.WritePrinter(m_hPrinter, const_cast<char*>(strBytes.data()),
                                   static_cast<DWORD>(strBytes.size()), &cbWritten);
    }

    FakeSpooler m_fake;
    HANDLE m_hPrinter = nullptr;
};

TEST_F(FakeSpoolerTest, DocumentHoldsAcceptedBytesOnly) {
    m_fake.ShortWrite(1, 2);
    m_fake.FailWrite(2, ERROR_DISK_FULL);
    EXPECT_NE(0u, StartDoc("~JS~ticket"));
    EXPECT_TRUE(m_fake.StartPagePrinter(m_hPrinter));
    DWORD cb = 99;
    EXPECT_TRUE(Write("abc", cb));
    EXPECT_EQ(3u, cb);
    EXPECT_TRUE(Write("defg", cb));
    EXPECT_EQ(2u, cb);
    SetLastError(0);
    EXPECT_FALSE(Write("hij", cb));
    EXPECT_EQ(0u, cb);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), GetLastError());
    EXPECT_TRUE(m_fake.EndPagePrinter(m_hPrinter));
    EXPECT_TRUE(m_fake.EndDocPrinter(m_hPrinter));

    std::vector<FakeDocument> documents = m_fake.Documents();
    ASSERT_EQ(1u, documents.size());
    EXPECT_EQ("abcde", documents[0].strBytes);
    EXPECT_EQ(std::string("~JS~ticket"), documents[0].optDocName);
    EXPECT_FALSE(documents[0].optOutputFile.has_value());
    EXPECT_EQ(std::string("RAW"), documents[0].optDatatype);
    EXPECT_EQ(1, documents[0].nPagesStarted);
    EXPECT_EQ(1, documents[0].nPagesEnded);
    EXPECT_TRUE(documents[0].bEnded);

    std::vector<SpoolerCall> writes = m_fake.Calls(SpoolerFunction::WritePrinter);
    ASSERT_EQ(3u, writes.size());
    EXPECT_EQ("defg", writes[1].strBytes);
    EXPECT_EQ(2u, writes[1].dwWritten);
    EXPECT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), writes[2].dwError);
}

TEST_F(FakeSpoolerTest, WritesNeedADocument) {
    DWORD cb = 0;
    EXPECT_FALSE(Write("x", cb));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SPL_NO_STARTDOC), GetLastError());
    m_fake.FailStartDoc(ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, StartDoc("name"));
    EXPECT_FALSE(Write("x", cb));
    EXPECT_FALSE(m_fake.EndDocPrinter(m_hPrinter));
    EXPECT_TRUE(m_fake.Documents().empty());
}

TEST_F(FakeSpoolerTest, HeldWriteWaitsForRelease) {
    m_fake.BlockWrite(0);
    ASSERT_NE(0u, StartDoc("held"));
    BOOL bResult = FALSE;
    std::thread writer([&] {
        DWORD cb = 0;
        bResult = Write("held bytes", cb);
    });
    // Not ASSERT: the writer must be let go and joined on every path.
    EXPECT_TRUE(m_fake.WaitForBlockedWrite());
    // The write has not happened while it is held.
    EXPECT_TRUE(m_fake.Calls(SpoolerFunction::WritePrinter).empty());
    EXPECT_EQ("", m_fake.Documents()[0].strBytes);
    m_fake.ReleaseWrite();
    writer.join();
    EXPECT_TRUE(bResult);
    EXPECT_EQ("held bytes", m_fake.Documents()[0].strBytes);
}

TEST_F(FakeSpoolerTest, HandlesCloseOnce) {
    EXPECT_EQ(1u, m_fake.OpenHandleCount());
    EXPECT_TRUE(m_fake.ClosePrinter(m_hPrinter));
    EXPECT_FALSE(m_fake.ClosePrinter(m_hPrinter));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(0u, m_fake.OpenHandleCount());
}

} // namespace
