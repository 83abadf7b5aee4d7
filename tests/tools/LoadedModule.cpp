// Waits for a top-level window with the given caption and prints the path of every module
// of the given file name that the window's process has loaded: which common controls a
// running program really uses (version 6 is the one of the side-by-side assembly
// Microsoft.Windows.Common-Controls 6.0, in a folder of its own). Used by the package
// checks.
//   LoadedModule.exe <caption> <module file name> [seconds]
// Exit code 0 when the window was found, 1 when it did not appear in time (20 s by
// default) or its process could not be read.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class ProcessHandle {
public:
    explicit ProcessHandle(HANDLE hProcess) : m_hProcess(hProcess) {}
    ~ProcessHandle() {
        if (m_hProcess)
            CloseHandle(m_hProcess);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    HANDLE Get() const { return m_hProcess; }

private:
    HANDLE m_hProcess;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: LoadedModule <caption> <module file name> [seconds]\n");
        return 2;
    }
    int nSeconds = argc > 3 ? std::atoi(argv[3]) : 20;

    HWND hWnd = nullptr;
    for (int i = 0; i < nSeconds * 10 && !hWnd; ++i) {
        hWnd = FindWindowA(nullptr, argv[1]);
        if (!hWnd)
            Sleep(100);
    }
    DWORD dwProcessId = 0;
    if (!hWnd || !GetWindowThreadProcessId(hWnd, &dwProcessId))
        return 1;
    ProcessHandle process(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, dwProcessId));
    if (!process.Get())
        return 1;

    // The list may grow between the two calls; the second call's count is the one read.
    DWORD cbNeeded = 0;
    std::vector<HMODULE> modules(256);
    for (;;) {
        if (!EnumProcessModules(process.Get(), modules.data(),
                                static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &cbNeeded))
            return 1;
        if (cbNeeded <= modules.size() * sizeof(HMODULE))
            break;
        modules.resize(cbNeeded / sizeof(HMODULE));
    }
    modules.resize(cbNeeded / sizeof(HMODULE));

    for (HMODULE hModule : modules) {
        char szName[MAX_PATH] = "";
        char szPath[MAX_PATH] = "";
        if (!GetModuleBaseNameA(process.Get(), hModule, szName, sizeof szName) ||
            lstrcmpiA(szName, argv[2]) != 0 ||
            !GetModuleFileNameExA(process.Get(), hModule, szPath, sizeof szPath))
            continue;
        std::printf("%s\n", szPath);
    }
    return 0;
}
