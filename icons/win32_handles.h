// Owners of the Win32 handles the icon services acquire: each releases its
// handle in its destructor, cannot be copied, and can be moved.
#pragma once

#include <windows.h>

#include <utility>

namespace velmora {

template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

    // Releases the handle held, then holds `handle`.
    void Reset(Handle handle = Traits::Invalid()) noexcept {
        if (m_handle != Traits::Invalid()) Traits::Close(m_handle);
        m_handle = handle;
    }
    // Hands the handle out; the caller becomes its owner.
    Handle Release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

private:
    Handle m_handle = Traits::Invalid();
};

struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct MappedViewTraits {
    using Handle = const void*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::UnmapViewOfFile(h); }
};
struct IconTraits {
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
struct BitmapTraits {
    using Handle = HBITMAP;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};

using UniqueFile = UniqueHandle<FileHandleTraits>;            // CreateFile
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;  // CreateFileMapping
using UniqueMappedView = UniqueHandle<MappedViewTraits>;      // MapViewOfFile
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueBitmap = UniqueHandle<BitmapTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;  // CreateCompatibleDC

// Selects a GDI object into a device context and restores the one it
// replaced when it goes out of scope.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (m_previous != nullptr && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    bool Selected() const noexcept { return m_previous != nullptr && m_previous != HGDI_ERROR; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace velmora
