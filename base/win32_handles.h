// Owners of Win32 handles: the one place where a handle's release is written.
//
// Every owner here has the same vocabulary:
//   Attach(h)  destroys the handle held before (if any) and holds h;
//   Detach()   hands the handle out: the caller becomes its owner;
//   Destroy()  destroys the handle held now, leaving the owner empty;
//   Get()      the handle, still owned; `if (owner)` tells whether one is held.
// An owner cannot be copied; it can be moved. A raw handle, or one of the
// view types of the window layer, is a view of a handle someone else owns
// and is never destroyed through it.
//
// Scoped selection (SelectedObject) restores the object it replaced; it
// accepts only bitmaps, fonts, brushes and pens. A region is not selected but
// made the clip region, and the result is the region's complexity.
#pragma once

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "base/shell_on_demand_win32.h"

namespace velmora {

template <typename Traits>
class OwnedHandle {
public:
    using Handle = typename Traits::Handle;

    OwnedHandle() noexcept = default;
    explicit OwnedHandle(Handle handle) noexcept : m_handle(handle) {}
    ~OwnedHandle() { Destroy(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : m_handle(other.Detach()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

    void Attach(Handle handle) noexcept {
        if (handle == m_handle) return;
        Destroy();
        m_handle = handle;
    }
    [[nodiscard]] Handle Detach() noexcept { return std::exchange(m_handle, Traits::Invalid()); }
    void Destroy() noexcept {
        if (m_handle != Traits::Invalid()) Traits::Close(m_handle);
        m_handle = Traits::Invalid();
    }

private:
    Handle m_handle = Traits::Invalid();
};

namespace handle_traits {

struct File {  // CreateFile
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct Kernel {  // CreateFileMapping, CreateEvent, processes, threads
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct MappedView {  // MapViewOfFile
    using Handle = const void*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::UnmapViewOfFile(h); }
};
struct FindFile {  // FindFirstFile
    using Handle = HANDLE;
    static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};
struct RegistryKey {  // RegOpenKeyEx, RegCreateKeyEx; never a predefined root
    using Handle = HKEY;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct Drop {  // the HDROP of WM_DROPFILES, handed back to the shell
    using Handle = HDROP;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { velmora::shell::DragFinish(h); }
};
struct Icon {  // icons and cursors made for the program, never LoadIcon's shared ones
    using Handle = HICON;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
template <typename GdiHandle>
struct GdiObject {  // bitmaps, regions, fonts, brushes, pens
    using Handle = GdiHandle;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct MemoryDc {  // CreateCompatibleDC
    using Handle = HDC;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteDC(h); }
};
struct Menu {  // CreateMenu, CreatePopupMenu; never a window's own menu
    using Handle = HMENU;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
struct ImageList {  // ImageList_Create
    using Handle = HIMAGELIST;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { velmora::shell::ImageList_Destroy(h); }
};

struct LocalMemory {  // LocalAlloc, and what FormatMessage allocates
    using Handle = HLOCAL;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};

struct EnvironmentStrings {  // GetEnvironmentStringsW
    using Handle = wchar_t*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeEnvironmentStringsW(h); }
};

}  // namespace handle_traits

using OwnedFile = OwnedHandle<handle_traits::File>;
using OwnedKernelHandle = OwnedHandle<handle_traits::Kernel>;
using OwnedMappedView = OwnedHandle<handle_traits::MappedView>;
using OwnedFindFile = OwnedHandle<handle_traits::FindFile>;
using OwnedRegKey = OwnedHandle<handle_traits::RegistryKey>;
using OwnedDrop = OwnedHandle<handle_traits::Drop>;
using OwnedIcon = OwnedHandle<handle_traits::Icon>;
using OwnedBitmap = OwnedHandle<handle_traits::GdiObject<HBITMAP>>;
using OwnedRegion = OwnedHandle<handle_traits::GdiObject<HRGN>>;
using OwnedFont = OwnedHandle<handle_traits::GdiObject<HFONT>>;
using OwnedBrush = OwnedHandle<handle_traits::GdiObject<HBRUSH>>;
using OwnedPen = OwnedHandle<handle_traits::GdiObject<HPEN>>;
using OwnedMemoryDc = OwnedHandle<handle_traits::MemoryDc>;
using OwnedMenu = OwnedHandle<handle_traits::Menu>;
using OwnedImageList = OwnedHandle<handle_traits::ImageList>;
using OwnedLocalMemory = OwnedHandle<handle_traits::LocalMemory>;
using OwnedEnvironmentStrings = OwnedHandle<handle_traits::EnvironmentStrings>;

// Selects a bitmap, font, brush or pen into a device context for its
// lifetime and then restores the object it replaced.
class SelectedObject {
public:
    SelectedObject(HDC dc, HBITMAP bitmap) noexcept : SelectedObject(dc, static_cast<HGDIOBJ>(bitmap)) {}
    SelectedObject(HDC dc, HFONT font) noexcept : SelectedObject(dc, static_cast<HGDIOBJ>(font)) {}
    SelectedObject(HDC dc, HBRUSH brush) noexcept : SelectedObject(dc, static_cast<HGDIOBJ>(brush)) {}
    SelectedObject(HDC dc, HPEN pen) noexcept : SelectedObject(dc, static_cast<HGDIOBJ>(pen)) {}
    // A region is no selectable object: use SelectClipRegion.
    SelectedObject(HDC dc, HRGN region) = delete;
    ~SelectedObject() {
        if (Selected()) ::SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when the selection failed (no device context, wrong kind of
    // object, a bitmap selected elsewhere already).
    bool Selected() const noexcept { return m_previous != nullptr && m_previous != HGDI_ERROR; }

private:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : m_dc(dc), m_previous(dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr) {}

    HDC m_dc;
    HGDIOBJ m_previous;
};

// Makes a copy of `region` the clip region of `dc` (null removes clipping).
// Returns the clip region's complexity: NULLREGION, SIMPLEREGION,
// COMPLEXREGION, or ERROR.
inline int SelectClipRegion(HDC dc, HRGN region) noexcept { return ::SelectClipRgn(dc, region); }

}  // namespace velmora
