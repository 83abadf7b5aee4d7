// Waiting in the Windows tests: for a state, with a deadline, never for a time.
//   WaitNote          names what the calling thread waits for, for the watchdog's report
//   WaitUntil         polls a condition until it holds or the deadline passes
//   Eventually...     the same as assertion results that say which condition failed
//   EXPECT_SOON ...   GoogleTest checks that wait for their condition
//   WaitForWindow     a visible dialog, by caption
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The deadline of every wait: long, because only a failing wait lasts it, and a machine
// that is busy with other work can be slow to show a window.
constexpr DWORD kWaitMs = 30000;

class WaitNote {
public:
    explicit WaitNote(std::string strWhat);
    ~WaitNote();
    WaitNote(const WaitNote&) = delete;
    WaitNote& operator=(const WaitNote&) = delete;

private:
    unsigned m_nId;
};

// What every thread waits for now, in the order the waits began.
std::vector<std::string> CurrentWaits();

// Polls pred until it holds; false when kWaitMs (or dwMs) passed first. Between polls it
// runs the calling thread's messages: a worker may be sending to one of its windows.
bool WaitUntil(const std::string& strWhat, const std::function<bool()>& pred, DWORD dwMs = kWaitMs);

::testing::AssertionResult Eventually(const char* pszWhat, const std::function<bool()>& pred);

// Waits until read() equals expected; a failure shows the last value read.
template <typename Read, typename Value>
::testing::AssertionResult EventuallyEqual(const char* pszWhat, Read read, const Value& expected) {
    auto actual = read();
    if (WaitUntil(pszWhat, [&] { return (actual = read()) == expected; }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << pszWhat << " is " << ::testing::PrintToString(actual) << " after " << kWaitMs / 1000
           << " s, expected " << ::testing::PrintToString(expected);
}

#define EXPECT_SOON(condition)                                                                     \
    EXPECT_TRUE(Eventually(#condition, [&] { return static_cast<bool>(condition); }))
#define ASSERT_SOON(condition)                                                                     \
    ASSERT_TRUE(Eventually(#condition, [&] { return static_cast<bool>(condition); }))
#define EXPECT_SOON_EQ(expression, expected)                                                       \
    EXPECT_TRUE(EventuallyEqual(                                                                   \
        #expression, [&] { return (expression); }, (expected)))

// The visible dialog with this caption, or null when none came up in time.
HWND WaitForWindow(const char* pszCaption);
