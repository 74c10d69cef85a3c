#include <new>
#include <optional>
#include <vector>

#include "base/win32_handles.h"
#include "icons/file_replacement.h"
#include "icons/ico_layout.h"
#include "velmora/icofile.h"

namespace velmora {
namespace {

// A 1-bit DIB header with its two-entry colour table, as GetDIBits fills it.
struct MonochromeBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

bool ReadBits(HDC dc, HBITMAP bitmap, LONG width, LONG height, WORD bitCount,
              std::vector<std::uint8_t>& bits) {
    MonochromeBitmapInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = bitCount;
    info.header.biCompression = BI_RGB;
    const std::size_t row =
        bitCount == 1 ? MaskRowBytes(static_cast<std::uint32_t>(width)) : static_cast<std::size_t>(width) * 4;
    bits.assign(row * static_cast<std::size_t>(height), 0);
    const int lines = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(),
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    return lines == height;
}

// The icon's pixels in the .ico form, or nothing when any step fails.
std::optional<IconImagePixels> ReadIconPixels(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info)) return std::nullopt;
    // GetIconInfo hands out copies of both bitmaps; they are ours to delete.
    const OwnedBitmap mask(info.hbmMask);
    const OwnedBitmap colour(info.hbmColor);
    if (!mask) return std::nullopt;

    OwnedMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return std::nullopt;

    BITMAP maskInfo{};
    if (::GetObjectA(mask.Get(), sizeof maskInfo, &maskInfo) == 0) return std::nullopt;

    if (!colour) {
        // A monochrome icon: one double-height mask, the XOR image below the
        // AND mask. Converted rather than refused.
        const LONG width = maskInfo.bmWidth;
        const LONG height = maskInfo.bmHeight / 2;
        if (width <= 0 || height <= 0 || !IcoFileBytes(width, height)) return std::nullopt;
        std::vector<std::uint8_t> bits;
        if (!ReadBits(dc.Get(), mask.Get(), width, height * 2, 1, bits)) return std::nullopt;
        IconImagePixels image = ConvertMonochromeIcon(static_cast<std::uint32_t>(width),
                                                      static_cast<std::uint32_t>(height), bits);
        if (image.colour.empty()) return std::nullopt;
        return image;
    }

    DIBSECTION section{};
    section.dsBmih.biSize = 0;
    const int described = ::GetObjectA(colour.Get(), sizeof section, &section);
    if (described == 0) return std::nullopt;
    const LONG width = section.dsBm.bmWidth;
    const LONG height = section.dsBm.bmHeight;
    // Any size the .ico format can hold; larger ones are refused before
    // anything is allocated for them.
    if (width <= 0 || height <= 0 || !IcoFileBytes(width, height)) return std::nullopt;
    if (maskInfo.bmWidth != width || maskInfo.bmHeight < height) return std::nullopt;

    IconImagePixels image;
    image.width = static_cast<std::uint32_t>(width);
    image.height = static_cast<std::uint32_t>(height);
    // A DIB section contributes its own resolution and colour counts.
    if (described >= 64 && section.dsBmih.biSize >= sizeof(BITMAPINFOHEADER)) {
        image.xPelsPerMeter = section.dsBmih.biXPelsPerMeter;
        image.yPelsPerMeter = section.dsBmih.biYPelsPerMeter;
        image.coloursUsed = section.dsBmih.biClrUsed;
        image.coloursImportant = section.dsBmih.biClrImportant;
        if (image.coloursImportant > image.coloursUsed) image.coloursImportant = image.coloursUsed;
    }
    if (!ReadBits(dc.Get(), colour.Get(), width, height, 32, image.colour)) return std::nullopt;
    if (!ReadBits(dc.Get(), mask.Get(), width, height, 1, image.mask)) return std::nullopt;
    return image;
}

}  // namespace
}  // namespace velmora

void AfxSaveHICON2File(HICON icon, const char* path) {
    if (icon == nullptr || path == nullptr || *path == '\0') return;
    try {
        const auto image = velmora::ReadIconPixels(icon);
        if (!image) return;
        const std::vector<std::uint8_t> bytes = velmora::BuildIcoFile(*image);
        if (bytes.empty()) return;
        velmora::WriteWholeFile(path, bytes);
    } catch (const std::bad_alloc&) {
        // Out of memory: nothing was written, the target is as it was.
    }
}
