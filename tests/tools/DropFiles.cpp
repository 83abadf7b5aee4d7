// Drops files on a window of another program, as the shell does: the drop handle is
// memory in the receiving process, which DragQueryFileA and DragFinish then use.
//   DropFiles.exe <window caption> <file>...
// Exit code 0 when the drop was posted, 1 when the window did not appear within 30 s.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: DropFiles <window caption> <file>...\n");
        return 2;
    }
    // Shown means initialised: the window is made visible at the end of its set-up.
    HWND hWnd = nullptr;
    for (int i = 0; i < 300 && !(hWnd && IsWindowVisible(hWnd)); ++i, Sleep(100))
        hWnd = FindWindowA("#32770", argv[1]);
    if (!hWnd || !IsWindowVisible(hWnd))
        return 1;

    std::vector<char> drop(sizeof(DROPFILES));
    reinterpret_cast<DROPFILES*>(drop.data())->pFiles = sizeof(DROPFILES);
    for (int i = 2; i < argc; ++i)
        drop.insert(drop.end(), argv[i], argv[i] + std::strlen(argv[i]) + 1);
    drop.push_back('\0');

    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, dwProcessId);
    if (!hProcess)
        return 1;
    // A handle from this process would mean nothing to the receiver.
    void* pRemote =
        VirtualAllocEx(hProcess, nullptr, drop.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool bWritten =
        pRemote && WriteProcessMemory(hProcess, pRemote, drop.data(), drop.size(), nullptr);
    CloseHandle(hProcess);
    if (!bWritten)
        return 1;
    PostMessageA(hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0);
    return 0;
}
