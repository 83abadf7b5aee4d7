// Prints the manifest a program or DLL carries as its resource of the given number (1 for
// a program's own, 123 for a Control Panel applet's), as it is stored. Used by the package
// checks.
//   ReadManifest.exe <file> <resource number>
// Exit code 0 when the file has that manifest, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The file mapped for its resources only: none of its code runs.
class DataModule {
public:
    explicit DataModule(const char* pszPath)
        : m_hModule(LoadLibraryExA(pszPath, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~DataModule() {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE Get() const { return m_hModule; }

private:
    HMODULE m_hModule;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: ReadManifest <file> <resource number>\n");
        return 2;
    }
    DataModule module(argv[1]);
    if (!module.Get())
        return 1;
    HRSRC hResource =
        FindResourceA(module.Get(), MAKEINTRESOURCEA(std::atoi(argv[2])), RT_MANIFEST);
    HGLOBAL hData = hResource ? LoadResource(module.Get(), hResource) : nullptr;
    const void* pData = hData ? LockResource(hData) : nullptr;
    if (!pData)
        return 1;
    std::fwrite(pData, 1, SizeofResource(module.Get(), hResource), stdout);
    return 0;
}
