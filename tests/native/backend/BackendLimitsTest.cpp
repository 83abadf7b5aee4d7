// Jobs that would hold the queue: a fake gs on PATH that loops, stops itself, ignores
// SIGTERM, floods its log or leaves processes behind, run as the backend runs Ghostscript
// and as CUPS runs the backend.
#include "printer/backend/Ghostscript.h"
#include "printer/backend/JobFolder.h"
#include "printer/backend/UniqueFd.h"

#include "BackendTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// True while the process exists and is not a zombie.
bool IsRunning(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string strStat;
    if (!std::getline(stat, strStat))
        return false;
    const size_t nEnd = strStat.rfind(')');
    return nEnd != std::string::npos && nEnd + 2 < strStat.size() && strStat[nEnd + 2] != 'Z' &&
           strStat[nEnd + 2] != 'X';
}

// Waits for a condition, at most for the given time; whether it came.
template <class Condition> bool WaitFor(Condition condition, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// A "gs" of our own first on PATH, which writes the ids of its processes to a file: its
// script names that file $PIDS (written into the script, as Ghostscript gets none of the
// backend's environment).
class FakeGhostscript {
public:
    explicit FakeGhostscript(std::string strScript)
        : m_strOldPath(std::getenv("PATH") ? std::getenv("PATH") : "") {
        std::filesystem::create_directory(m_dir.Path() / "bin");
        const auto gs = m_dir.Path() / "bin" / "gs";
        for (size_t nAt; (nAt = strScript.find("$PIDS")) != std::string::npos;)
            strScript.replace(nAt, 5, PidFile());
        BackendTestDir::WriteFile(gs, "#!/bin/sh\n" + strScript + "\n");
        std::filesystem::permissions(gs, std::filesystem::perms::owner_all);
        setenv("PATH", ((m_dir.Path() / "bin").string() + ":" + m_strOldPath).c_str(), 1);
    }
    FakeGhostscript(const FakeGhostscript&) = delete;
    FakeGhostscript& operator=(const FakeGhostscript&) = delete;
    ~FakeGhostscript() {
        setenv("PATH", m_strOldPath.c_str(), 1);
        for (pid_t pid : Pids())
            kill(pid, SIGKILL);
    }

    const BackendTestDir& Dir() const { return m_dir; }
    std::string PidFile() const { return (m_dir.Path() / "pids").string(); }
    std::vector<pid_t> Pids() const {
        std::ifstream file(PidFile());
        std::vector<pid_t> pids;
        for (pid_t pid; file >> pid;)
            pids.push_back(pid);
        return pids;
    }
    std::vector<pid_t> RunningPids() const {
        std::vector<pid_t> running;
        for (pid_t pid : Pids())
            if (IsRunning(pid))
                running.push_back(pid);
        return running;
    }

    GhostscriptRun Run(const JobLimits& limits, int nCancelFd = -1,
                       std::function<std::optional<std::string>()> watch = {}) const {
        BackendTestDir::WriteFile(m_dir.Path() / "job", "%!PS\n");
        const UniqueFd output(open((m_dir.Path() / "out.pdf").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        return RunGhostscript(BACKEND_TEST_PRELUDE, (m_dir.Path() / "job").string(),
                              m_dir.Path().string(), output.Get(), limits, nCancelFd, {},
                              std::move(watch));
    }

private:
    BackendTestDir m_dir;
    std::string m_strOldPath;
};

JobLimits ShortLimits() {
    JobLimits limits;
    limits.wallClock = 1s;
    limits.grace = 300ms;
    return limits;
}

const char* const RECORD = "echo $$ >>\"$PIDS\"";

struct LimitCase {
    const char* pszName;
    std::string strScript;
    bool bSucceeds;
    const char* pszFailure; // a part of the reason when it fails
    JobLimits limits = ShortLimits();
};

JobLimits FileLimit() {
    JobLimits limits = ShortLimits();
    limits.wallClock = 60s;
    limits.nMaxFileBytes = 1 << 20;
    return limits;
}

JobLimits CpuLimit() {
    JobLimits limits;
    limits.wallClock = 60s;
    limits.nCpuSeconds = 1;
    return limits;
}

const LimitCase LIMIT_CASES[] = {
    {"loops", std::string(RECORD) + "; while :; do :; done", false, "did not finish within 1 s"},
    {"ignores SIGTERM", std::string(RECORD) + "; trap '' TERM; while :; do sleep 0.05; done", false,
     "did not finish within 1 s"},
    {"stops itself", std::string(RECORD) + "; trap '' TERM; kill -STOP $$; sleep 100", false,
     "did not finish within 1 s"},
    {"stopped, ends on SIGTERM", std::string(RECORD) + "; kill -STOP $$; sleep 100", false,
     "did not finish within 1 s"},
    {"uses up its processor time", std::string(RECORD) + "; while :; do :; done", false,
     "1 seconds of processor time", CpuLimit()},
    {"leaves a process behind",
     std::string(RECORD) + "; sh -c 'trap \"\" TERM HUP; " + RECORD +
         "; exec sleep 100' & "
         "while [ $(wc -l <\"$PIDS\") -lt 2 ]; do sleep 0.01; done; exit 0",
     true, ""},
    {"fails with a message", std::string(RECORD) + "; echo 'Error: /undefined in x' >&2; exit 1",
     false, "Error: /undefined in x"},
    {"missing program", "exec /nicht/vorhanden", false, "could not be started"},
    // A full disk as Ghostscript 10 reports it, once with exit code 0.
    {"output error, exit code 0",
     std::string(RECORD) + "; echo 'GPL Ghostscript 10.00.0: ERROR: ioerror (-12) on closing "
                           "pdfwrite device.' >&2; exit 0",
     false, "could not write the PDF whole: GPL Ghostscript 10.00.0: ERROR: ioerror"},
    {"output error, exit code 1",
     std::string(RECORD) + "; echo 'Error: /ioerror' >&2; echo 'x: ERROR: ioerror' >&2; exit 1",
     false, "could not write the PDF whole"},
    {"writes past the file bound", std::string(RECORD) + "; exec head -c 3000000 /dev/zero >big",
     false, "larger than 1 MiB", FileLimit()},
};

class LimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, EndsTheJobAndEveryProcessOfIt) {
    const LimitCase& c = GetParam();
    FakeGhostscript gs(c.strScript);
    const GhostscriptRun run = gs.Run(c.limits);
    EXPECT_EQ(!run.failure, c.bSucceeds) << FailureText(run);
    EXPECT_NE(FailureText(run).find(c.pszFailure), std::string::npos) << FailureText(run);
    EXPECT_EQ(gs.RunningPids(), std::vector<pid_t>{});
}

INSTANTIATE_TEST_SUITE_P(Cases, LimitTest, testing::ValuesIn(LIMIT_CASES), CaseName());

TEST(LimitTest, FiftyMegabytesOfLogStayWithinTheBound) {
    FakeGhostscript gs("yes 'Eine Zeile, die der Auftrag ausgibt' | head -c 50000000 >&2; "
                       "echo 'Error: /stackoverflow' >&2; exit 1");
    JobLimits limits;
    limits.wallClock = 60s;
    const GhostscriptRun run = gs.Run(limits);
    EXPECT_TRUE(run.failure);
    // The error at the very end is still found.
    EXPECT_NE(FailureText(run).find("Error: /stackoverflow"), std::string::npos)
        << FailureText(run);
    EXPECT_LE(run.log.size(), limits.nLogHeadLines + limits.nLogTailLines + 1);
    for (const std::string& strLine : run.log)
        EXPECT_LE(strLine.size(), limits.nLogLineBytes);
}

// The watch (the backend's looks at the job's folder) stops a run that fills its folder
// with files each within the file bound.
TEST(LimitTest, WatchStopsTheRun) {
    FakeGhostscript gs(std::string(RECORD) +
                       "; i=0; while :; do head -c 300000 /dev/zero >f$i; i=$((i+1)); done");
    const UniqueFd folder(open(gs.Dir().Path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    JobLimits limits = FileLimit();
    limits.folderCheckInterval = 20ms;
    const GhostscriptRun run = gs.Run(limits, -1, [&]() -> std::optional<std::string> {
        if (MeasureFolder(folder.Get(), 1000).nBytes > (uint64_t{3} << 20))
            return std::string("more than 3 MiB");
        return std::nullopt;
    });
    ASSERT_TRUE(run.failure);
    EXPECT_EQ(run.failure->kind, FailureKind::FolderTooLarge);
    EXPECT_NE(FailureText(run).find("more than 3 MiB"), std::string::npos) << FailureText(run);
    EXPECT_EQ(gs.RunningPids(), std::vector<pid_t>{});
    // Stopped within a few looks: not long after the bound.
    EXPECT_LT(MeasureFolder(folder.Get(), 1000).nBytes, uint64_t{64} << 20);
}

TEST(LimitTest, CancelEndsTheRunAtOnce) {
    FakeGhostscript gs(std::string(RECORD) + "; trap '' TERM; sleep 100");
    int cancel[2];
    ASSERT_EQ(pipe2(cancel, O_CLOEXEC), 0);
    const UniqueFd cancelRead(cancel[0]);
    const UniqueFd cancelWrite(cancel[1]);
    std::thread canceller([&] {
        if (WaitFor([&] { return !gs.Pids().empty(); }, 30s)) {
            EXPECT_EQ(write(cancelWrite.Get(), "x", 1), 1);
        }
    });
    JobLimits limits;
    limits.grace = 300ms;
    const GhostscriptRun run = gs.Run(limits, cancelRead.Get());
    canceller.join();
    EXPECT_TRUE(run.failure);
    EXPECT_NE(FailureText(run).find("cancelled"), std::string::npos) << FailureText(run);
    EXPECT_EQ(gs.RunningPids(), std::vector<pid_t>{});
}

// Nothing of the backend's reaches Ghostscript but its standard streams and the few
// variables it needs, and it can gain no rights.
TEST(LimitTest, OnlyTheStandardStreamsAndAFewVariablesAreInherited) {
    FakeGhostscript gs("for fd in /proc/$$/fd/*; do echo \"open ${fd##*/}\" >&2; done; "
                       "[ -t 0 ] || read -r line || echo 'stdin empty' >&2; "
                       "env | sed 's/^/env /' >&2; grep NoNewPrivs /proc/$$/status >&2");
    // A descriptor that would be inherited, as the scheduler's socket and pipes are; out
    // of the way of those the shell opens itself.
    const UniqueFd null(open("/dev/null", O_RDONLY | O_CLOEXEC));
    const UniqueFd inherited(fcntl(null.Get(), F_DUPFD, 50));
    ASSERT_GE(inherited.Get(), 50);
    // A variable of the scheduler's, as CUPS passes its own (AUTH_*, DEVICE_URI, ...).
    setenv("AUTH_PASSWORD", "geheim", 1);
    const GhostscriptRun run = gs.Run(ShortLimits());
    unsetenv("AUTH_PASSWORD");
    EXPECT_FALSE(run.failure) << FailureText(run);
    std::vector<std::string> open;
    std::set<std::string> variables;
    for (const std::string& strLine : run.log) {
        if (strLine.rfind("open ", 0) == 0)
            open.push_back(strLine.substr(5));
        if (strLine.rfind("env ", 0) == 0)
            variables.insert(strLine.substr(4, strLine.find('=') - 4));
    }
    // The shell itself holds its script, and the folder it lists, open.
    EXPECT_EQ(std::count(open.begin(), open.end(), std::to_string(inherited.Get())), 0);
    for (const char* pszStandard : {"0", "1", "2"})
        EXPECT_EQ(std::count(open.begin(), open.end(), pszStandard), 1) << pszStandard;
    EXPECT_NE(std::find(run.log.begin(), run.log.end(), "stdin empty"), run.log.end());
    // What the shell sets itself (PWD) besides what the backend hands over.
    variables.erase("PWD");
    EXPECT_EQ(variables, (std::set<std::string>{"HOME", "LC_ALL", "PATH", "TMPDIR"}));
    EXPECT_NE(std::find(run.log.begin(), run.log.end(), "NoNewPrivs:\t1"), run.log.end());
}

// ---------------------------------------------------------------------------------------
// The backend program, as CUPS runs and ends it

class BackendProcessTest : public testing::Test {
protected:
    BackendProcessTest() : m_gs(std::string(RECORD) + "; trap '' TERM; sleep 100") {
        const BackendTestDir& dir = m_gs.Dir();
        m_strPrefix = dir.MakePrefix();
        m_out = dir.Path() / "prefix" / "drive_c" / "Out";
        std::filesystem::create_directories(m_out);
        std::filesystem::create_directories(dir.Path() / "tmp");
        BackendTestDir::WriteFile(dir.Path() / "job.ps", SentJob("%!PS\nshowpage\n"));
    }

    // Starts the backend on a job for C:\Out\a.pdf; waits until its Ghostscript runs.
    pid_t StartBackend() {
        const std::string strJob = (m_gs.Dir().Path() / "job.ps").string();
        const std::string strTemp = (m_gs.Dir().Path() / "tmp").string();
        const std::string strUser = CurrentUser();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("DEVICE_URI", ("quillon:" + m_strPrefix).c_str(), 1);
            setenv("TMPDIR", strTemp.c_str(), 1);
            // As CUPS proves a local user: root by name only, others with their id.
            setenv("AUTH_USERNAME", strUser.c_str(), 1);
            if (geteuid() != 0)
                setenv("AUTH_UID", std::to_string(geteuid()).c_str(), 1);
            const int nNull = open("/dev/null", O_WRONLY);
            dup2(nNull, STDERR_FILENO);
            execl(BACKEND_TEST_EXECUTABLE, "quillon", "7", strUser.c_str(),
                  "~JS~ d=C:\\Out\\a.pdf c= f=1", "1", "", strJob.c_str(), nullptr);
            _exit(127);
        }
        EXPECT_TRUE(WaitFor([&] { return !m_gs.Pids().empty(); }, 30s))
            << "the backend never started Ghostscript";
        return pid;
    }

    FakeGhostscript m_gs;
    std::string m_strPrefix;
    std::filesystem::path m_out;
};

TEST_F(BackendProcessTest, CancelledJobEndsItsGhostscriptAndWritesNothing) {
    const pid_t backend = StartBackend();
    ASSERT_GT(backend, 0);
    kill(backend, SIGTERM); // as CUPS cancels a job
    int nStatus = 0;
    ASSERT_EQ(waitpid(backend, &nStatus, 0), backend);
    EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 1) << nStatus;
    EXPECT_EQ(m_gs.RunningPids(), std::vector<pid_t>{});
    EXPECT_TRUE(BackendTestDir::List(m_out).empty());
    EXPECT_TRUE(BackendTestDir::List(m_gs.Dir().Path() / "tmp").empty());
}

// A backend killed outright cannot clean up after itself: its Ghostscript dies with it,
// and the next job of the same user removes the temporary folder it left.
TEST_F(BackendProcessTest, KilledBackendTakesItsGhostscriptAlongAndLeavesNoFile) {
    const pid_t backend = StartBackend();
    ASSERT_GT(backend, 0);
    kill(backend, SIGKILL);
    ASSERT_EQ(waitpid(backend, nullptr, 0), backend);
    EXPECT_TRUE(WaitFor([&] { return m_gs.RunningPids().empty(); }, 30s))
        << "Ghostscript outlived the backend";
    EXPECT_TRUE(BackendTestDir::List(m_out).empty());
    const auto temp = m_gs.Dir().Path() / "tmp";
    EXPECT_EQ(BackendTestDir::List(temp).size(), 1u);

    std::filesystem::remove(m_gs.PidFile());
    const pid_t next = StartBackend();
    ASSERT_GT(next, 0);
    // The next job's own folder is there while it runs; the leftover is gone.
    EXPECT_EQ(BackendTestDir::List(temp).size(), 1u);
    kill(next, SIGTERM);
    ASSERT_EQ(waitpid(next, nullptr, 0), next);
    EXPECT_TRUE(BackendTestDir::List(temp).empty());
}

} // namespace
