#include "skin/packed_bitmap.h"

#include <algorithm>
#include <cstring>

namespace velmora::skin {

namespace {

constexpr std::uint8_t kMagic[4] = {'V', 'S', 'K', 'R'};
constexpr std::size_t kHeaderBytes = 8;
constexpr std::uint8_t kFirstRunControl = 128;

int Side(std::span<const std::uint8_t> bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

// Writes the pixels in the order they come (top row first) to their places
// in the bottom-up rows.
class RowWriter {
public:
    RowWriter(UnpackedBitmap& bitmap)
        : m_bits(bitmap.dibBits.data()),
          m_width(bitmap.width),
          m_rowBytes(DibRowBytes24(bitmap.width)),
          m_row(bitmap.height - 1) {}

    void Put(const std::uint8_t* pixel) {
        std::memcpy(m_bits + std::size_t(m_row) * m_rowBytes + std::size_t(m_column) * 3, pixel, 3);
        if (++m_column == m_width) {
            m_column = 0;
            --m_row;
        }
    }

private:
    std::uint8_t* m_bits;
    int m_width;
    std::size_t m_rowBytes;
    int m_row;
    int m_column = 0;
};

}  // namespace

std::optional<UnpackedBitmap> UnpackSkinBitmap(std::span<const std::uint8_t> packed) {
    if (packed.size() < kHeaderBytes || !std::equal(std::begin(kMagic), std::end(kMagic), packed.begin()))
        return std::nullopt;
    UnpackedBitmap bitmap;
    bitmap.width = Side(packed, 4);
    bitmap.height = Side(packed, 6);
    if (bitmap.width < 1 || bitmap.width > kPackedBitmapMaxSide || bitmap.height < 1 ||
        bitmap.height > kPackedBitmapMaxSide)
        return std::nullopt;
    const std::size_t pixelCount = std::size_t(bitmap.width) * std::size_t(bitmap.height);
    // Every record of n pixels takes at least 4 bytes: a bitmap whose bytes
    // cannot hold its pixels is refused before anything is allocated.
    const std::size_t recordBytes = packed.size() - kHeaderBytes;
    if (pixelCount > recordBytes / 4 * std::size_t(kFirstRunControl)) return std::nullopt;
    bitmap.dibBits.assign(DibRowBytes24(bitmap.width) * std::size_t(bitmap.height), 0);

    RowWriter writer(bitmap);
    std::size_t at = kHeaderBytes;
    std::size_t written = 0;
    while (written < pixelCount) {
        if (at >= packed.size()) return std::nullopt;
        const std::uint8_t control = packed[at++];
        const bool isRun = control >= kFirstRunControl;
        const std::size_t count =
            isRun ? std::size_t(control) - (kFirstRunControl - 1) : std::size_t(control) + 1;
        const std::size_t dataBytes = isRun ? 3 : count * 3;
        if (count > pixelCount - written || dataBytes > packed.size() - at) return std::nullopt;
        for (std::size_t i = 0; i < count; ++i) writer.Put(&packed[at + (isRun ? 0 : i * 3)]);
        at += dataBytes;
        written += count;
    }
    if (at != packed.size()) return std::nullopt;
    return bitmap;
}

}  // namespace velmora::skin
