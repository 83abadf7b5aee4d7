// Entry point of the Windows tests: registers the common controls the dialogs use, makes
// sure no test can hang on a real message box it did not expect, and ends the run when a
// test hangs anyway, saying what it waited for.
#include "Waiting.h"
#include "framework/MessageBox.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <mutex>
#include <string>

namespace {

// Far beyond what a test takes, even one whose waits all run to their deadline.
constexpr DWORD kTestLimitMs = 150000;

// Watches the running test from a thread of its own. A test that outlives the limit is
// reported with the waits in progress and the program ends at once: CTest would otherwise
// only see a time-out, long after, without knowing what hung.
class Watchdog final : public ::testing::EmptyTestEventListener {
public:
    // The thread lives as long as the program; its handle is not needed.
    Watchdog() { CloseHandle(CreateThread(nullptr, 0, Watch, this, 0, nullptr)); }

private:
    void OnTestStart(const ::testing::TestInfo& info) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strTest = std::string(info.test_suite_name()) + "." + info.name();
        m_dwStart = GetTickCount();
    }

    void OnTestEnd(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_strTest.clear();
    }

    static DWORD WINAPI Watch(LPVOID pParam) {
        auto* pThis = static_cast<Watchdog*>(pParam);
        for (;; Sleep(1000)) {
            std::lock_guard<std::mutex> lock(pThis->m_mutex);
            if (!pThis->m_strTest.empty() && GetTickCount() - pThis->m_dwStart > kTestLimitMs)
                pThis->Bite();
        }
    }

    void Bite() {
        std::string strWaits;
        for (const std::string& strWait : CurrentWaits())
            strWaits += (strWaits.empty() ? "" : "; ") + strWait;
        std::printf("[  HUNG    ] %s has run for %lu s, waiting for: %s\n", m_strTest.c_str(),
                    kTestLimitMs / 1000, strWaits.empty() ? "(nothing noted)" : strWaits.c_str());
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 3);
    }

    std::mutex m_mutex;
    std::string m_strTest;
    DWORD m_dwStart = 0;
};

} // namespace

int main(int argc, char** argv) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    ::testing::InitGoogleTest(&argc, argv);
    // Tests that expect boxes install their own recorder; any other box is a failure.
    SetMessageBoxHook([](const MessageBoxRequest& request) {
        ADD_FAILURE() << "unexpected message box \"" << request.strCaption
                      << "\": " << request.strText;
        return IDCANCEL;
    });
    SetBeepHook([](UINT) {});
    ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    return RUN_ALL_TESTS();
}
