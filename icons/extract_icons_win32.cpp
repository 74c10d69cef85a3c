#include <cstdint>
#include <cstring>
#include <cwchar>
#include <vector>

#include "base/win32_handles.h"
#include "icons/extract_icons.h"
#include "icons/file_kind.h"
#include "icons/path_variables.h"
#include "icons/pe_resources.h"

namespace velmora {
namespace {

constexpr DWORD kIconResourceVersion = 0x00030000;

// The file being probed, open for reading. When it could also be opened for
// attribute writing, its last-access time as it was at opening is put back
// at once and again when the reading is done: so that looking at a file's
// icon does not count as using it. The first write is enough where a time
// set through a handle is no longer updated by later reads (NTFS); the
// second undoes the update of file systems that update it regardless (Wine
// on a Linux file system).
class ProbedFile {
public:
    explicit ProbedFile(const wchar_t* path) {
        m_file.Attach(::CreateFileW(path, GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (m_file) {
            m_keepsTime = ::GetFileTime(m_file.Get(), nullptr, &m_lastAccess, nullptr) != FALSE;
            PutBackLastAccess();
            return;
        }
        // Only read access granted: no time is written.
        m_file.Attach(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    ~ProbedFile() { PutBackLastAccess(); }
    ProbedFile(const ProbedFile&) = delete;
    ProbedFile& operator=(const ProbedFile&) = delete;

    HANDLE Get() const noexcept { return m_file.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(m_file); }

private:
    void PutBackLastAccess() noexcept {
        if (m_keepsTime) ::SetFileTime(m_file.Get(), nullptr, &m_lastAccess, nullptr);
    }

    OwnedFile m_file;
    FILETIME m_lastAccess{};
    bool m_keepsTime = false;
};

// The icons of a file named by its full path: opened by that UTF-16 name,
// so every character of it counts.
unsigned ExtractResolvedFileIcons(const wchar_t* fullPath, int firstIndex, int cxDesired, int cyDesired,
                                  HICON* icons, int* iconIds, unsigned count, UINT loadFlags) {
    const ProbedFile file(fullPath);
    if (!file) return 0;

    std::uint8_t probe[kFileProbeSize];
    DWORD read = 0;
    if (!::ReadFile(file.Get(), probe, sizeof probe, &read, nullptr) || read < sizeof probe) return 0;

    switch (ProbeFileContent(probe)) {
        case FileContentKind::IconFile:
        case FileContentKind::AnimatedCursor:
            return LoadIconFile(fullPath, firstIndex, cxDesired, cyDesired, icons, loadFlags);
        case FileContentKind::Bitmap:
            return LoadBitmapFileAsIcon(fullPath, firstIndex, cxDesired, cyDesired, icons, loadFlags);
        case FileContentKind::Executable:
            return ExtractImageIcons(file.Get(), firstIndex, cxDesired, cyDesired, icons, iconIds, count,
                                     loadFlags);
        case FileContentKind::Unknown:
            break;
    }
    return 0;
}

// Empties the first slot of each array given. False when the call can
// produce nothing: an array of no slots gets no icon, whatever kind of file
// the path names (the icon, cursor and bitmap branches fill one slot).
bool ClearFirstSlots(HICON* icons, int* iconIds, unsigned count) {
    if (icons != nullptr && count > 0) icons[0] = nullptr;
    if (iconIds != nullptr && count > 0) iconIds[0] = -1;
    return !(icons != nullptr && count == 0);
}

// The extension test of a UTF-16 path: its last five code units, when they
// are ASCII, decide as the narrow path's would.
bool HasExcludedExtension(const wchar_t* path, std::size_t length) {
    char tail[6] = {};
    const std::size_t n = length < 5 ? length : 5;
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t ch = path[length - n + i];
        tail[i] = ch < 0x80 ? static_cast<char>(ch) : '?';
    }
    return IsExcludedExtension(ClassifyFileExtension(tail));
}

}  // namespace

unsigned ExtractFileIconsW(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                           int* iconIds, unsigned count, UINT loadFlags) {
    if (!ClearFirstSlots(icons, iconIds, count) || path == nullptr) return 0;
    const std::size_t length = wcsnlen(path, kLongestWidePath);
    if (length == kLongestWidePath) return 0;
    if (HasExcludedExtension(path, length)) return 0;

    std::vector<wchar_t> expanded(kLongestWidePath);
    const DWORD expandedLength = ::ExpandEnvironmentStringsW(path, expanded.data(), kLongestWidePath);
    if (expandedLength == 0 || expandedLength > kLongestWidePath) return 0;
    std::vector<wchar_t> fullPath(kLongestWidePath);
    const DWORD found =
        ::SearchPathW(nullptr, expanded.data(), nullptr, kLongestWidePath, fullPath.data(), nullptr);
    if (found == 0 || found >= kLongestWidePath) return 0;
    return ExtractResolvedFileIcons(fullPath.data(), firstIndex, cxDesired, cyDesired, icons, iconIds, count,
                                    loadFlags);
}

unsigned ExtractFileIcons(const char* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                          int* iconIds, unsigned count, UINT loadFlags) {
    if (!ClearFirstSlots(icons, iconIds, count) || path == nullptr) return 0;

    char buffer[kPathBufferSize];
    const std::size_t length = strnlen(path, kPathBufferSize);
    if (length == kPathBufferSize) return 0;  // too long for a path: refused, not cut
    std::memcpy(buffer, path, length + 1);

    if (IsExcludedExtension(ClassifyFileExtension(buffer))) return 0;
    ExpandPathVariables(buffer);

    char fullPath[kPathBufferSize];
    const DWORD found = ::SearchPathA(nullptr, buffer, nullptr, sizeof fullPath, fullPath, nullptr);
    if (found == 0 || found >= sizeof fullPath) return 0;

    // The narrow path is in the ANSI code page; the file is opened by the
    // same name in UTF-16.
    wchar_t wideFullPath[kPathBufferSize];
    const int wideLength = ::MultiByteToWideChar(CP_ACP, 0, fullPath, -1, wideFullPath, kPathBufferSize);
    if (wideLength <= 0) return 0;
    return ExtractResolvedFileIcons(wideFullPath, firstIndex, cxDesired, cyDesired, icons, iconIds, count,
                                    loadFlags);
}

unsigned ExtractImageIcons(HANDLE file, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                           int* iconIds, unsigned count, UINT loadFlags) {
    LARGE_INTEGER fileSize{};
    if (!::GetFileSizeEx(file, &fileSize) || fileSize.QuadPart <= 0) return 0;
    if (static_cast<unsigned long long>(fileSize.QuadPart) > SIZE_MAX) return 0;
    OwnedKernelHandle mapping(::CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return 0;
    OwnedMappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return 0;
    // The view covers the whole file, which a successful map proves fits in
    // the address space.
    const Bytes image(static_cast<const std::uint8_t*>(view.Get()),
                      static_cast<std::size_t>(fileSize.QuadPart));

    const auto directory = FindResourceDirectory(image);
    if (!directory) return 0;
    if (icons == nullptr) return CountResourceEntries(*directory, kResourceTypeGroupIcon);

    unsigned i = 0;
    for (; i < count; ++i) {
        const Bytes group =
            FindResourceData(*directory, static_cast<std::int64_t>(firstIndex) + i, kResourceTypeGroupIcon);
        if (!IsIconGroup(group)) break;
        // The platform only reads the group; the view stays read-only.
        const int id = ::LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, cxDesired,
                                                     cyDesired, loadFlags);
        // 0 means the platform found no image; -0 would select the first
        // image by position instead.
        if (id <= 0) break;
        const Bytes iconImage =
            FindResourceData(*directory, -static_cast<std::int64_t>(id), kResourceTypeIcon);
        if (!IsDibIconImage(iconImage)) break;
        if (iconIds != nullptr) iconIds[i] = id;
        icons[i] = ::CreateIconFromResourceEx(const_cast<PBYTE>(iconImage.data()),
                                              static_cast<DWORD>(iconImage.size()), TRUE,
                                              kIconResourceVersion, cxDesired, cyDesired, loadFlags);
    }
    return i;
}

unsigned LoadIconFile(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                      UINT loadFlags) {
    if (firstIndex >= 1) return 0;
    OwnedIcon icon(static_cast<HICON>(
        ::LoadImageW(nullptr, path, IMAGE_ICON, cxDesired, cyDesired, loadFlags | LR_LOADFROMFILE)));
    if (!icon) return 0;
    if (icons != nullptr) icons[0] = icon.Detach();
    return 1;
}

unsigned LoadBitmapFileAsIcon(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                              UINT loadFlags) {
    if (firstIndex >= 1) return 0;
    OwnedBitmap colour(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path, IMAGE_BITMAP, cxDesired, cyDesired, loadFlags | LR_LOADFROMFILE)));
    if (!colour) return 0;
    if (icons == nullptr) return 1;

    // The loader scales to the requested size, or keeps the file's size when
    // 0 was asked for: the mask follows the bitmap as loaded.
    BITMAP info{};
    if (::GetObjectW(colour.Get(), sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return 0;
    OwnedBitmap mask(::CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
    OwnedMemoryDc colourDc(::CreateCompatibleDC(nullptr));
    OwnedMemoryDc maskDc(::CreateCompatibleDC(nullptr));
    if (!mask || !colourDc || !maskDc) return 0;
    {
        SelectedObject selectColour(colourDc.Get(), colour.Get());
        SelectedObject selectMask(maskDc.Get(), mask.Get());
        if (!selectColour.Selected() || !selectMask.Selected()) return 0;
        // Copying colour to monochrome turns pixels of the background colour
        // into 1s: the top-left pixel's colour becomes the transparent one.
        ::SetBkColor(colourDc.Get(), ::GetPixel(colourDc.Get(), 0, 0));
        ::BitBlt(maskDc.Get(), 0, 0, info.bmWidth, info.bmHeight, colourDc.Get(), 0, 0, SRCCOPY);
        // Destination AND NOT source: the transparent pixels turn black, as
        // an icon's colour image needs under a set mask bit.
        ::BitBlt(colourDc.Get(), 0, 0, info.bmWidth, info.bmHeight, maskDc.Get(), 0, 0, 0x00220326);
    }
    ICONINFO iconInfo{};
    iconInfo.fIcon = TRUE;
    iconInfo.hbmMask = mask.Get();
    iconInfo.hbmColor = colour.Get();
    HICON icon = ::CreateIconIndirect(&iconInfo);
    if (icon == nullptr) return 0;
    icons[0] = icon;
    return 1;
}

}  // namespace velmora
