#include "skin/packed_bitmap_win32.h"

#include <cstdint>
#include <span>

#include "skin/packed_bitmap.h"

namespace velmora::skin {

bool LoadPackedSkinBitmap(CBitmap& bitmap, HINSTANCE hInstance, UINT id) {
    bitmap.Destroy();
    // Resource data stays mapped with the module: nothing to free.
    const HRSRC hFound = ::FindResourceW(hInstance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (hFound == nullptr) return false;
    const HGLOBAL hData = ::LoadResource(hInstance, hFound);
    const void* data = hData != nullptr ? ::LockResource(hData) : nullptr;
    const DWORD size = ::SizeofResource(hInstance, hFound);
    if (data == nullptr || size == 0) return false;
    const auto unpacked = UnpackSkinBitmap(std::span(static_cast<const std::uint8_t*>(data), size));
    if (!unpacked) return false;
    return bitmap.CreateDibSection24(unpacked->width, unpacked->height, unpacked->dibBits.data(),
                                     unpacked->dibBits.size()) != FALSE;
}

}  // namespace velmora::skin
