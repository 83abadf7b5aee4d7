// The program's owned handles: one template over the function that closes them, and the
// kinds the program holds.
//   UniqueResource  owns one handle or pointer and closes it on every path out of its scope
//   UniqueHandle    kernel handle: file, thread, semaphore (CloseHandle)
//   FindHandle      directory search (FindClose)
//   RegistryKey     open registry key (RegCloseKey)
//   LoadedLibrary   module loaded with LoadLibrary (FreeLibrary)
//   OwnedFont       font (DeleteObject)
//   LocalText       text a system call allocated with LocalAlloc (LocalFree)
//   DropHandle      the files of one drop (DragFinish)
//   VirtualBlock    pages from VirtualAlloc (VirtualFree)
//   HeapBlock       block of the process heap, with its size (HeapFree)
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <type_traits>
#include <utility>

template <class T, auto pfnClose> class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : m_value(value) {}
    ~UniqueResource() { Close(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_value(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    // Null is never valid; a kernel handle is not either when it is INVALID_HANDLE_VALUE,
    // which CreateFile and FindFirstFile return on failure.
    bool IsValid() const {
        if constexpr (std::is_same_v<T, HANDLE>)
            return m_value != nullptr && m_value != INVALID_HANDLE_VALUE;
        else
            return m_value != nullptr;
    }
    T Get() const { return m_value; }

    // For the calls that hand out a new handle through a pointer; closes the one held.
    T* Receive() {
        Close();
        return &m_value;
    }
    // Gives up ownership without closing.
    [[nodiscard]] T Release() { return std::exchange(m_value, T{}); }
    // Closes the handle held, if any, and takes value.
    void Reset(T value) {
        if (IsValid())
            pfnClose(m_value);
        m_value = value;
    }
    void Close() { Reset(T{}); }

private:
    T m_value{};
};

namespace handle_detail {
inline void FreeVirtualBlock(void* p) {
    VirtualFree(p, 0, MEM_RELEASE);
}
inline void FreeHeapBlock(BYTE* p) {
    HeapFree(GetProcessHeap(), 0, p);
}
} // namespace handle_detail

using UniqueHandle = UniqueResource<HANDLE, &CloseHandle>;
using FindHandle = UniqueResource<HANDLE, &FindClose>;
using RegistryKey = UniqueResource<HKEY, &RegCloseKey>;
using LoadedLibrary = UniqueResource<HMODULE, &FreeLibrary>;
using OwnedFont = UniqueResource<HFONT, &DeleteObject>;
using LocalText = UniqueResource<char*, &LocalFree>;
using DropHandle = UniqueResource<HDROP, &DragFinish>;
using VirtualBlock = UniqueResource<unsigned char*, &handle_detail::FreeVirtualBlock>;

// Heap blocks are aligned for any record, the spooler's, which hold pointers, included.
class HeapBlock {
public:
    // A block of cbSize bytes (at least one); none when the heap has no room.
    explicit HeapBlock(DWORD cbSize)
        : m_data(static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, cbSize ? cbSize : 1))),
          m_cbSize(cbSize) {}

    BYTE* Get() const { return m_data.Get(); }
    DWORD Size() const { return m_data.IsValid() ? m_cbSize : 0; }

private:
    UniqueResource<BYTE*, &handle_detail::FreeHeapBlock> m_data;
    DWORD m_cbSize;
};
