#include "engine/InputClassificationWin.h"

#include "framework/MessageBox.h"
#include "framework/MessageText.h"
#include "framework/ResourceString.h"
#include "res/resource.h"

#include <string>
#include <utility>

namespace {

// The PDF notice goes through MessageBoxExA with English (United Kingdom) buttons.
constexpr WORD PDF_NOTICE_LANGUAGE = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);

SeekInputFileHook g_seekInputFileHook;

bool SeekTo(HANDLE hFile, uint64_t nOffset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(nOffset);
    return SetFilePointerEx(hFile, position, nullptr, FILE_BEGIN) != FALSE;
}

// Win32 reads at most a DWORD at a time; every read here is far smaller.
DWORD ReadAt(HANDLE hFile, uint64_t nOffset, unsigned char* pBuffer, size_t nCount) {
    DWORD nRead = 0;
    if (!SeekTo(hFile, nOffset) ||
        !ReadFile(hFile, pBuffer, static_cast<DWORD>(nCount), &nRead, nullptr))
        return 0;
    return nRead;
}

uint64_t FileSize(HANDLE hFile) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size) || size.QuadPart < 0)
        return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

std::string MessageFor(UINT nMessageId, const char* pszInputPath) {
    return InsertArgument(LoadResourceString(nMessageId), pszInputPath ? pszInputPath : "");
}

} // namespace

InputLayout ClassifyInputFile(HANDLE hFile, const char* pszInputPath, bool bQuiet,
                              unsigned char* pTransferBuffer) {
    const uint64_t nFileSize = FileSize(hFile);
    // The probe is also searched as text, so it ends in a NUL.
    unsigned char probe[HEADER_PROBE_SIZE + 1];
    const DWORD nProbeBytes = ReadAt(hFile, 0, probe, HEADER_PROBE_SIZE);
    probe[nProbeBytes] = '\0';

    TailReader readTail = [hFile, nFileSize](unsigned char* pBuffer, size_t nCount) -> size_t {
        if (nCount > nFileSize)
            return 0;
        return ReadAt(hFile, nFileSize - nCount, pBuffer, nCount);
    };
    AskUser askUser = [pszInputPath] {
        return ShowMessageBox(nullptr, MessageFor(IDS_NOT_POSTSCRIPT, pszInputPath),
                              LoadResourceString(IDS_CAPTION),
                              MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2 | MB_TOPMOST) == IDYES;
    };
    TellUser tellUser = [pszInputPath] {
        ShowMessageBox(nullptr, MessageFor(IDS_ALREADY_PDF, pszInputPath),
                       LoadResourceString(IDS_CAPTION), MB_TOPMOST | MB_ICONERROR,
                       PDF_NOTICE_LANGUAGE);
    };
    return ClassifyInput(probe, nProbeBytes, nFileSize, pTransferBuffer, readTail, bQuiet, askUser,
                         tellUser);
}

bool SeekInputFile(HANDLE hFile, uint64_t nOffset) {
    if (g_seekInputFileHook)
        return g_seekInputFileHook(hFile, nOffset);
    return SeekTo(hFile, nOffset);
}

SeekInputFileHook SetSeekInputFileHook(SeekInputFileHook hook) {
    return std::exchange(g_seekInputFileHook, std::move(hook));
}
