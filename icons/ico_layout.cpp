#include "icons/ico_layout.h"

#include <cstdint>

namespace velmora {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

}  // namespace

std::optional<std::uint32_t> IcoFileBytes(std::uint64_t width, std::uint64_t height) noexcept {
    // Bounded first, so that the products below stay far inside 64 bits.
    if (width == 0 || height == 0 || width > 0xFFFFFFFF || height > 0x3FFFFFFF) return std::nullopt;
    const std::uint64_t row = width * 4 + ((width + 31) / 32) * 4;  // colour and mask bytes of one row
    constexpr std::uint64_t kFixed = kIcoDirectorySize + kIcoEntrySize + kBitmapInfoHeaderSize;
    if (row > (0xFFFFFFFFull - kFixed) / height) return std::nullopt;
    const std::uint64_t file = kFixed + row * height;
    return static_cast<std::uint32_t>(file);
}

std::vector<std::uint8_t> BuildIcoFile(const IconImagePixels& image) {
    const auto fileBytes = IcoFileBytes(image.width, image.height);
    if (!fileBytes) return {};
    const std::uint64_t width = image.width;
    const std::uint64_t height = image.height;
    const std::uint64_t colourBytes = width * 4 * height;
    const std::uint64_t maskBytes = MaskRowBytes(image.width) * height;
    if (image.colour.size() != colourBytes || image.mask.size() != maskBytes) return {};
    const std::uint64_t imageBytes = kBitmapInfoHeaderSize + colourBytes + maskBytes;

    std::vector<std::uint8_t> out;
    out.reserve(*fileBytes);
    Put16(out, 0);  // reserved
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out.push_back(static_cast<std::uint8_t>(width));
    out.push_back(static_cast<std::uint8_t>(height));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, static_cast<std::uint32_t>(imageBytes));
    Put32(out, kIcoDirectorySize + kIcoEntrySize);

    Put32(out, kBitmapInfoHeaderSize);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height * 2));  // colour image and mask together
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);  // BI_RGB
    Put32(out, static_cast<std::uint32_t>(colourBytes));
    Put32(out, static_cast<std::uint32_t>(image.xPelsPerMeter));
    Put32(out, static_cast<std::uint32_t>(image.yPelsPerMeter));
    Put32(out, image.coloursUsed);
    Put32(out, image.coloursImportant);

    out.insert(out.end(), image.colour.begin(), image.colour.end());
    out.insert(out.end(), image.mask.begin(), image.mask.end());
    return out;
}

IconImagePixels ConvertMonochromeIcon(std::uint32_t width, std::uint32_t height, Bytes bits) {
    IconImagePixels image;
    image.width = width;
    image.height = height;
    const std::size_t row = MaskRowBytes(width);
    const std::uint64_t needed = static_cast<std::uint64_t>(row) * height * 2;
    if (width == 0 || height == 0 || bits.size() < needed) return image;

    image.colour.assign(static_cast<std::size_t>(width) * 4 * height, 0);
    image.mask.assign(bits.begin() + static_cast<std::ptrdiff_t>(row * height),
                      bits.begin() + static_cast<std::ptrdiff_t>(needed));
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* xorRow = bits.data() + static_cast<std::size_t>(y) * row;
        const std::uint8_t* andRow = image.mask.data() + static_cast<std::size_t>(y) * row;
        std::uint8_t* pixel = image.colour.data() + static_cast<std::size_t>(y) * width * 4;
        for (std::uint32_t x = 0; x < width; ++x, pixel += 4) {
            const std::uint8_t bit = static_cast<std::uint8_t>(0x80u >> (x % 8));
            const bool white = (xorRow[x / 8] & bit) != 0;
            const bool transparent = (andRow[x / 8] & bit) != 0;
            pixel[0] = pixel[1] = pixel[2] = white ? 0xFF : 0x00;
            pixel[3] = transparent ? 0x00 : 0xFF;
        }
    }
    return image;
}

}  // namespace velmora
