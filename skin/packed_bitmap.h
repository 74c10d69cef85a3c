// The packed form the skin's larger artwork is stored in, and its unpacking
// into the pixel rows of a 24-bit DIB.
//
// Layout: the four bytes "VSKR", the width and the height as 16-bit
// little-endian numbers (each 1 to kPackedBitmapMaxSide), then records that
// give the pixels top row first, left to right, each pixel as blue, green,
// red. A record's control byte c below 128 is followed by c + 1 literal
// pixels; c of 128 or more by one pixel that repeats c - 127 times. Records
// may cross rows; together they give exactly width x height pixels, and
// nothing follows the last one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora::skin {

inline constexpr int kPackedBitmapMaxSide = 4096;

// Bytes per row of a 24-bit DIB `width` pixels wide: rows end on 4 bytes.
constexpr std::size_t DibRowBytes24(int width) noexcept {
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

struct UnpackedBitmap {
    int width = 0;
    int height = 0;
    // The rows of a bottom-up 24-bit DIB: the bottom row first, each
    // DibRowBytes24(width) bytes long, padding bytes zero.
    std::vector<std::uint8_t> dibBits;
};

// The picture, or nothing when the bytes are not a whole packed bitmap: a
// short or foreign header, a side of 0 or above the limit, a record that runs
// past the bytes or past the last pixel, too few pixels, or bytes after the
// last record. Nothing is read outside `packed`.
std::optional<UnpackedBitmap> UnpackSkinBitmap(std::span<const std::uint8_t> packed);

}  // namespace velmora::skin
