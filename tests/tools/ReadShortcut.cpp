// Prints what a shortcut (.lnk) holds, one "name=value" line each: target, arguments,
// working folder, description and icon, as the shell reads them. Used by the package
// checks.
//   ReadShortcut.exe <file.lnk>
// Exit code 0 when the shortcut was read, 1 otherwise.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

namespace {

// Releases a COM interface on every path out of its scope.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (m_p != nullptr)
            m_p->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* operator->() const { return m_p; }
    T** operator&() { return &m_p; }

private:
    T* m_p = nullptr;
};

int PrintShortcut(const char* pszPath) {
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return 1;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        return 1;
    wchar_t szWidePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, pszPath, -1, szWidePath, MAX_PATH) == 0 ||
        FAILED(file->Load(szWidePath, STGM_READ)))
        return 1;

    char szText[1024];
    int nIcon = 0;
    if (SUCCEEDED(link->GetPath(szText, sizeof szText, nullptr, SLGP_RAWPATH)))
        std::printf("Target=%s\n", szText);
    if (SUCCEEDED(link->GetArguments(szText, sizeof szText)))
        std::printf("Arguments=%s\n", szText);
    if (SUCCEEDED(link->GetWorkingDirectory(szText, sizeof szText)))
        std::printf("WorkingDirectory=%s\n", szText);
    if (SUCCEEDED(link->GetDescription(szText, sizeof szText)))
        std::printf("Description=%s\n", szText);
    if (SUCCEEDED(link->GetIconLocation(szText, sizeof szText, &nIcon)))
        std::printf("Icon=%s,%d\n", szText, nIcon);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ReadShortcut <file.lnk>\n");
        return 2;
    }
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    int nResult = PrintShortcut(argv[1]);
    CoUninitialize();
    return nResult;
}
