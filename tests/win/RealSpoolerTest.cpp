// Printer discovery against Wine's own spooler and a CUPS queue prepared with
// tests/blackbox/cups-queue; skipped unless PSZ_REAL_QUEUE names that queue.
#include "engine/PrinterDiscoveryWin.h"

#include "engine/Spooler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(RealSpoolerTest, FindsImportedQueueAndFindsItReady) {
    const char* pszQueue = std::getenv("PSZ_REAL_QUEUE");
    if (!pszQueue || !*pszQueue)
        GTEST_SKIP() << "PSZ_REAL_QUEUE names no imported CUPS queue";
    SetSpooler(nullptr);

    g_szPrinterName[0] = '\0';
    FindConverterPrinter();
    EXPECT_EQ(std::string(pszQueue), g_szPrinterName);

    {
        PrinterCheck check = CheckPrinterReady();
        EXPECT_EQ(PrinterCheck::Ready, check.eOutcome)
            << "message " << check.nMessageId << ", error text " << check.strErrorText;
        EXPECT_EQ(check.eOutcome != PrinterCheck::OpenFailed, check.printer.IsValid());
        HANDLE hPrinter = check.printer.Release();
        EXPECT_TRUE(hPrinter == nullptr || TheSpooler().ClosePrinter(hPrinter));
    }
    g_szPrinterName[0] = '\0';
}

} // namespace
