// QuillonSeed.exe: the seeding of the package's custom action (FreshDefaults.h) as a console
// program, for printer/seed-registry, which runs it under Wine in a prefix:
//   QuillonSeed.exe [--reset]
// --reset first removes the product's whole registry tree. The values end up in the
// prefix's registry file at once, for the printer side. Exit code 0 when everything is
// there, 1 with the reason on standard error otherwise.
#include "printer/setup/FreshDefaults.h"

#include "printer/common/ConfigurationValues.h"
#include "printer/common/RegistryOnDisk.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

int Fail(const char* pszWhat, LONG nError) {
    std::fprintf(stderr, "QuillonSeed: %s: error %ld\n", pszWhat, nError);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const bool bReset = argc == 2 && std::strcmp(argv[1], "--reset") == 0;
    if (argc > 2 || (argc == 2 && !bReset)) {
        std::fprintf(stderr, "usage: QuillonSeed [--reset]\n");
        return 2;
    }
    if (bReset) {
        LONG nError = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kProductKey);
        if (nError != ERROR_SUCCESS && nError != ERROR_FILE_NOT_FOUND)
            return Fail("removing the product's tree", nError);
    }
    SeedFailure failure;
    int nWritten = 0;
    if (!SeedFreshDefaults(failure, nWritten))
        return Fail(failure.strWhere.c_str(), failure.nError);
    if (LONG nError = WriteMachineRegistryToDisk(); nError != ERROR_SUCCESS)
        return Fail("writing the registry to disk", nError);
    std::printf("%d value(s) added\n", nWritten);
    return 0;
}
