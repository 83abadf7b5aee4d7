#include "printer/backend/SupervisedChild.h"

#include "printer/backend/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// Without a pidfd the end of the child is looked for this often.
constexpr std::chrono::milliseconds CHILD_POLL_INTERVAL{50};

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& str : strings)
        pointers.push_back(const_cast<char*>(str.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

void WriteError(const char* pszText) {
    ssize_t nIgnored = write(STDERR_FILENO, pszText, std::strlen(pszText));
    (void)nIgnored;
}

// Everything but the standard streams: the backend holds the scheduler's sockets and
// pipes, which are none of the job's business.
void CloseOtherFiles() {
    if (syscall(SYS_close_range, 3U, ~0U, 0U) == 0)
        return;
    rlimit files{};
    const rlim_t nLimit = getrlimit(RLIMIT_NOFILE, &files) == 0 ? files.rlim_cur : 1024;
    for (rlim_t fd = 3; fd < std::min<rlim_t>(nLimit, 65536); ++fd)
        close(static_cast<int>(fd));
}

// In the child after fork: only async-signal-safe calls. No return.
[[noreturn]] void ExecChild(char* const* argv, char* const* envp, const char* pszDirectory,
                            int nStdin, int nStdout, int nStderr, const JobLimits& limits,
                            pid_t parent) {
    setpgid(0, 0);
    // The child must not outlive the backend, however the backend ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(125);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &standard, nullptr);
    sigaction(SIGTERM, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // SIGXCPU at the soft limit; the hard limit, which kills outright, a little later.
    const rlimit cpu{limits.nCpuSeconds, limits.nCpuSeconds + 5};
    // A file written past its bound gives SIGXFSZ, an allocation past the memory bound
    // fails.
    const rlimit fileSize{limits.nMaxFileBytes, limits.nMaxFileBytes};
    const rlimit memory{limits.nMaxMemoryBytes, limits.nMaxMemoryBytes};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || setrlimit(RLIMIT_CPU, &cpu) != 0 ||
        setrlimit(RLIMIT_FSIZE, &fileSize) != 0 || setrlimit(RLIMIT_AS, &memory) != 0 ||
        dup2(nStdin, STDIN_FILENO) < 0 || dup2(nStdout, STDOUT_FILENO) < 0 ||
        dup2(nStderr, STDERR_FILENO) < 0 || chdir(pszDirectory) != 0)
        _exit(126);
    CloseOtherFiles();
    execvpe(argv[0], argv, envp);
    WriteError("cannot start ");
    WriteError(argv[0]);
    WriteError("\n");
    _exit(127);
}

// Reads what the pipe holds, a bounded amount at a time: a child that writes without end
// must not keep the loop from its deadline.
void DrainInto(int nFd, BoundedLog& log, bool& bOpen) {
    char buffer[65536];
    for (int nReads = 0; nReads < 16; ++nReads) {
        const ssize_t nRead = read(nFd, buffer, sizeof buffer);
        if (nRead > 0) {
            log.Append(std::string_view(buffer, static_cast<size_t>(nRead)));
        } else if (nRead < 0 && errno == EINTR) {
            continue;
        } else {
            bOpen = bOpen && nRead < 0 && errno == EAGAIN;
            return;
        }
    }
}

bool HasEnded(pid_t pid) {
    siginfo_t info{};
    // WNOWAIT: the child stays a zombie, so its id (and its group's) cannot be reused
    // before its group has been cleared.
    return waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == pid;
}

int MillisecondsUntil(Clock::time_point when) {
    const auto nLeft = std::chrono::ceil<std::chrono::milliseconds>(when - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(nLeft)>(nLeft, 0, 24 * 3600 * 1000));
}

// Kills what is left of the child's group and reaps every process of it, on every way
// out. The backend is the subreaper of its descendants, so a process of the group whose
// parent died is the backend's to reap too: when Reap returns, none is left.
class ChildGuard {
public:
    explicit ChildGuard(pid_t pid) : m_pid(pid) {}
    ChildGuard(const ChildGuard&) = delete;
    ChildGuard& operator=(const ChildGuard&) = delete;
    ~ChildGuard() {
        if (m_pid > 0)
            Reap();
    }
    // The group is cleared and the child reaped: its wait status.
    int Reap() {
        kill(-m_pid, SIGKILL);
        int nStatus = 0;
        while (waitpid(m_pid, &nStatus, 0) < 0 && errno == EINTR) {
        }
        while (waitpid(-m_pid, nullptr, 0) > 0 || errno == EINTR) {
        }
        m_pid = -1;
        return nStatus;
    }
    // A child that not even SIGKILL ends (stuck in the kernel) is left to init.
    void Abandon() { m_pid = -1; }

private:
    pid_t m_pid;
};

} // namespace

ChildEnd RunSupervised(const ChildSpec& spec, const JobLimits& limits, int nCancelFd,
                       BoundedLog& log) {
    ChildEnd end;
    int logPipe[2];
    if (pipe2(logPipe, O_CLOEXEC) != 0) {
        end.strError = std::string("cannot make a pipe: ") + std::strerror(errno);
        return end;
    }
    UniqueFd logRead(logPipe[0]);
    UniqueFd logWrite(logPipe[1]);
    std::vector<char*> argv = CStrings(spec.arguments);
    std::vector<char*> envp = CStrings(spec.environment);
    const pid_t parent = getpid();
    // Orphans of the child's group come to us rather than to init, to be reaped.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    const pid_t pid = fork();
    if (pid < 0) {
        end.strError = std::string("cannot start a process: ") + std::strerror(errno);
        return end;
    }
    if (pid == 0)
        ExecChild(argv.data(), envp.data(), spec.strDirectory.c_str(), spec.nStdin, spec.nStdout,
                  logWrite.Get(), limits, parent);
    // Also here, so that the group exists before the first signal to it.
    setpgid(pid, pid);
    ChildGuard guard(pid);
    logWrite.Reset();
    fcntl(logRead.Get(), F_SETFL, O_NONBLOCK);
    const UniqueFd pidFd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));

    const Clock::time_point deadline = Clock::now() + limits.wallClock;
    Clock::time_point killAt{};
    Clock::time_point giveUpAt{};
    enum class Stage { Running, Terminating, Killed } stage = Stage::Running;
    Clock::time_point nextWatch = Clock::now() + limits.folderCheckInterval;
    bool bLogOpen = true;
    bool bCancelled = false;
    std::optional<std::string> stopReason;
    for (;;) {
        if (HasEnded(pid))
            break;
        const Clock::time_point now = Clock::now();
        if (stage == Stage::Running && spec.watch && now >= nextWatch) {
            stopReason = spec.watch();
            nextWatch = now + limits.folderCheckInterval;
        }
        if (stage == Stage::Running && (bCancelled || stopReason || now >= deadline)) {
            end.kind = bCancelled   ? ChildEnd::Kind::Cancelled
                       : stopReason ? ChildEnd::Kind::Stopped
                                    : ChildEnd::Kind::TimedOut;
            if (stopReason)
                end.strError = *stopReason;
            kill(-pid, SIGTERM);
            kill(-pid, SIGCONT); // a stopped process would not see SIGTERM before SIGKILL
            stage = Stage::Terminating;
            killAt = now + limits.grace;
        } else if (stage == Stage::Terminating && now >= killAt) {
            kill(-pid, SIGKILL);
            stage = Stage::Killed;
            giveUpAt = now + limits.grace;
        } else if (stage == Stage::Killed && now >= giveUpAt) {
            guard.Abandon();
            end.kind = ChildEnd::Kind::Unkillable;
            end.strError = "the process did not end even when killed";
            return end;
        }
        const Clock::time_point next = stage == Stage::Running       ? deadline
                                       : stage == Stage::Terminating ? killAt
                                                                     : giveUpAt;
        int nTimeout = MillisecondsUntil(next);
        if (stage == Stage::Running && spec.watch)
            nTimeout = std::min(nTimeout, MillisecondsUntil(nextWatch));
        if (!pidFd)
            nTimeout = std::min(nTimeout, static_cast<int>(CHILD_POLL_INTERVAL.count()));
        pollfd fds[3];
        nfds_t nFds = 0;
        const auto add = [&](int nFd) {
            fds[nFds] = pollfd{nFd, POLLIN, 0};
            return &fds[nFds++];
        };
        const pollfd* pLog = bLogOpen ? add(logRead.Get()) : nullptr;
        const pollfd* pCancel = nCancelFd >= 0 && !bCancelled ? add(nCancelFd) : nullptr;
        if (pidFd)
            add(pidFd.Get());
        if (poll(fds, nFds, nTimeout) < 0 && errno != EINTR) {
            end.kind = ChildEnd::Kind::Unwatched;
            end.strError = std::string("cannot watch the process: ") + std::strerror(errno);
            return end; // the guard ends the child
        }
        if (pLog && pLog->revents)
            DrainInto(logRead.Get(), log, bLogOpen);
        if (pCancel && pCancel->revents)
            bCancelled = true;
    }
    const int nStatus = guard.Reap();
    if (bLogOpen)
        DrainInto(logRead.Get(), log, bLogOpen);
    log.Finish();
    if (end.kind == ChildEnd::Kind::NotStarted) {
        if (WIFEXITED(nStatus)) {
            end.kind = ChildEnd::Kind::Exited;
            end.nCode = WEXITSTATUS(nStatus);
        } else {
            end.kind = ChildEnd::Kind::Signalled;
            end.nCode = WTERMSIG(nStatus);
        }
    }
    return end;
}
