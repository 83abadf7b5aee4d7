#include "framework/ResourceString.h"

HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleA(nullptr);
}

std::string LoadResourceString(UINT nID) {
    // With a zero length LoadStringW hands out a pointer into the resource itself; the
    // ANSI call has no such form, so use a buffer large enough for any of our strings.
    char buffer[4096];
    int n = LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}
