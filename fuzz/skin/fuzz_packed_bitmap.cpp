// UnpackSkinBitmap reads nothing outside its bytes (the sanitizers catch a
// stray read) and answers only with a picture whose rows are exactly those
// of a DIB of its size.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/packed_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::skin;
    const auto unpacked = UnpackSkinBitmap(std::span<const std::uint8_t>(data, size));
    if (!unpacked) return 0;
    if (unpacked->width < 1 || unpacked->width > kPackedBitmapMaxSide || unpacked->height < 1 ||
        unpacked->height > kPackedBitmapMaxSide)
        std::abort();
    if (unpacked->dibBits.size() != DibRowBytes24(unpacked->width) * std::size_t(unpacked->height)) std::abort();
    return 0;
}
