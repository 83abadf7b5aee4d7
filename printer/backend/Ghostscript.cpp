#include "printer/backend/Ghostscript.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>

namespace {

// Far more than any real document takes.
constexpr rlim_t GHOSTSCRIPT_CPU_SECONDS = 600;

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

std::string ReadAll(std::FILE* pFile) {
    std::string strText;
    std::rewind(pFile);
    char buffer[4096];
    size_t nRead;
    while ((nRead = std::fread(buffer, 1, sizeof buffer, pFile)) > 0)
        strText.append(buffer, nRead);
    return strText;
}

// In the child: no return.
[[noreturn]] void ExecGhostscript(const std::vector<std::string>& arguments,
                                  const std::string& strDirectory, int nInputFd, int nLogFd) {
    // A job that loops for ever would otherwise hold the queue until someone cancels it.
    const rlimit cpuLimit{GHOSTSCRIPT_CPU_SECONDS, GHOSTSCRIPT_CPU_SECONDS};
    setrlimit(RLIMIT_CPU, &cpuLimit);
    if (chdir(strDirectory.c_str()) != 0 || dup2(nInputFd, STDIN_FILENO) < 0 ||
        dup2(nLogFd, STDOUT_FILENO) < 0 || dup2(nLogFd, STDERR_FILENO) < 0)
        _exit(126);
    std::vector<char*> argv;
    for (const std::string& strArgument : arguments)
        argv.push_back(const_cast<char*>(strArgument.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(errno));
    _exit(127);
}

} // namespace

std::vector<std::string> GhostscriptArguments(const std::string& strPrelude,
                                              const std::string& strOutput) {
    return {"gs",
            "-q",
            "-dSAFER",
            "-dBATCH",
            "-dNOPAUSE",
            "-dNOEPS",
            "-dWRITESYSTEMDICT",
            "-dAutoRotatePages=/None",
            "-sDEVICE=pdfwrite",
            "-sOutputFile=" + strOutput,
            strPrelude,
            "-"};
}

GhostscriptRun RunGhostscript(const std::string& strPrelude, const std::string& strDirectory,
                              const std::string& strOutput, int nInputFd,
                              const volatile std::sig_atomic_t* pCancel) {
    GhostscriptRun run;
    std::unique_ptr<std::FILE, FileCloser> log(std::tmpfile());
    if (!log) {
        run.strFailure = std::string("cannot create a log file: ") + std::strerror(errno);
        return run;
    }
    const std::vector<std::string> arguments = GhostscriptArguments(strPrelude, strOutput);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        run.strFailure = std::string("cannot start Ghostscript: ") + std::strerror(errno);
        return run;
    }
    if (pid == 0)
        ExecGhostscript(arguments, strDirectory, nInputFd, fileno(log.get()));

    // The cancel signal interrupts the wait (its handler does not restart calls).
    int nStatus = 0;
    bool bSignalled = false;
    for (;;) {
        if (pCancel && *pCancel && !bSignalled) {
            kill(pid, SIGTERM);
            bSignalled = true;
        }
        if (waitpid(pid, &nStatus, 0) == pid)
            break;
        if (errno != EINTR) {
            run.strFailure = std::string("lost Ghostscript: ") + std::strerror(errno);
            return run;
        }
    }
    run.strLog = ReadAll(log.get());
    if (bSignalled) {
        run.bCancelled = true;
        run.strFailure = "the job was cancelled";
    } else if (WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) {
        run.bSucceeded = true;
    } else if (WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 127) {
        run.strFailure = "Ghostscript (gs) could not be started";
    } else if (WIFEXITED(nStatus)) {
        run.strFailure = "Ghostscript failed (exit code " + std::to_string(WEXITSTATUS(nStatus)) +
                         "): " + GhostscriptErrorLine(run.strLog);
    } else if (WTERMSIG(nStatus) == SIGXCPU) {
        run.strFailure = "Ghostscript used up its " + std::to_string(GHOSTSCRIPT_CPU_SECONDS) +
                         " seconds of processor time";
    } else {
        run.strFailure = "Ghostscript was killed by signal " + std::to_string(WTERMSIG(nStatus));
    }
    return run;
}

std::string GhostscriptErrorLine(const std::string& strLog) {
    std::istringstream lines(strLog);
    std::string strLine;
    std::string strLast;
    while (std::getline(lines, strLine)) {
        if (strLine.rfind("Error:", 0) == 0)
            return strLine;
        if (!strLine.empty())
            strLast = strLine;
    }
    return strLast.empty() ? "no message" : strLast;
}
