// Prints the version resource of a program or DLL, one "name=value" line each: the
// fixed file and product versions, the first translation, and the strings of that
// translation's block. Used by the package checks.
//   ReadVersion.exe <file>
// Exit code 0 when the file has a version resource, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

const char* const kStringNames[] = {"CompanyName",  "FileDescription", "FileVersion",
                                    "InternalName", "LegalCopyright",  "OriginalFilename",
                                    "ProductName",  "ProductVersion"};

void PrintVersion(const char* pszName, DWORD dwMS, DWORD dwLS) {
    std::printf("%s=%lu.%lu.%lu.%lu\n", pszName, static_cast<unsigned long>(HIWORD(dwMS)),
                static_cast<unsigned long>(LOWORD(dwMS)), static_cast<unsigned long>(HIWORD(dwLS)),
                static_cast<unsigned long>(LOWORD(dwLS)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ReadVersion <file>\n");
        return 2;
    }
    DWORD dwHandle = 0;
    DWORD cbInfo = GetFileVersionInfoSizeA(argv[1], &dwHandle);
    if (cbInfo == 0)
        return 1;
    std::vector<char> info(cbInfo);
    if (!GetFileVersionInfoA(argv[1], 0, cbInfo, info.data()))
        return 1;

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    if (VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&pFixed), &cbFixed) &&
        cbFixed >= sizeof *pFixed) {
        PrintVersion("FixedFileVersion", pFixed->dwFileVersionMS, pFixed->dwFileVersionLS);
        PrintVersion("FixedProductVersion", pFixed->dwProductVersionMS, pFixed->dwProductVersionLS);
    }

    WORD* pTranslation = nullptr;
    UINT cbTranslation = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&pTranslation), &cbTranslation) ||
        cbTranslation < 2 * sizeof(WORD))
        return 1;
    std::printf("Translation=%04X%04X\n", pTranslation[0], pTranslation[1]);

    for (const char* pszName : kStringNames) {
        char szPath[128];
        wsprintfA(szPath, "\\StringFileInfo\\%04X%04X\\%s", pTranslation[0], pTranslation[1],
                  pszName);
        char* pszValue = nullptr;
        UINT cchValue = 0;
        if (VerQueryValueA(info.data(), szPath, reinterpret_cast<void**>(&pszValue), &cchValue))
            std::printf("%s=%s\n", pszName, pszValue);
    }
    return 0;
}
