// The layout of a one-image .ico file: a 32-bit colour image and its 1-bit
// transparency mask, as the published ICO format stores them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "icons/byte_reader.h"

namespace velmora {

// One icon image as device-independent bitmap rows, bottom row first.
struct IconImagePixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> colour;  // height rows of width x 4 bytes (blue, green, red, alpha)
    std::vector<std::uint8_t> mask;    // height rows of MaskRowBytes(width) bytes, 1 = transparent
    // Carried into the colour header when the bitmap had them (a DIB section).
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t coloursImportant = 0;
};

// Bytes of one 1-bit row: `width` bits padded to a multiple of 4 bytes.
constexpr std::size_t MaskRowBytes(std::uint32_t width) noexcept {
    return ((static_cast<std::size_t>(width) + 31) / 32) * 4;
}

constexpr std::size_t kIcoDirectorySize = 6;
constexpr std::size_t kIcoEntrySize = 16;
constexpr std::size_t kBitmapInfoHeaderSize = 40;

// The size in bytes of the .ico file of a `width` x `height` image, when the
// format can hold it: both at least 1, twice the height within the colour
// header's signed 32-bit field, and the image (header, colour rows, mask
// rows) within the directory entry's 32-bit size, as must be the whole file.
// Computed without overflow for any inputs; nothing when it does not fit.
std::optional<std::uint32_t> IcoFileBytes(std::uint64_t width, std::uint64_t height) noexcept;

// The whole file: directory header, one entry (width and height as their low
// 8 bits, so 256 is stored as 0), the colour header with the height doubled,
// the colour rows and the mask rows. Empty when the image is 0 pixels wide or
// high, or its pixel blocks do not have the sizes its width and height ask.
std::vector<std::uint8_t> BuildIcoFile(const IconImagePixels& image);

// A monochrome icon (a mask of width x 2 x height pixels, bottom row first:
// the lower half its XOR image, the upper half its AND mask) as a 32-bit
// image: AND 0 pixels are opaque black or white after the XOR bit, AND 1
// pixels transparent. Empty pixel blocks when `bits` is too short.
IconImagePixels ConvertMonochromeIcon(std::uint32_t width, std::uint32_t height, Bytes bits);

}  // namespace velmora
