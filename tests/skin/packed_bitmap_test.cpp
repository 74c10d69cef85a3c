#include "skin/packed_bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::skin {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Header(int width, int height) {
    return {'V', 'S', 'K', 'R', std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
            std::uint8_t(height >> 8)};
}

Bytes Cat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Well-formed pictures come out as the rows of a bottom-up DIB: the last row
// given first, each row padded with zeros to 4 bytes.
TEST(PackedBitmapTest, UnpacksIntoBottomUpRows) {
    struct Case {
        const char* name;
        Bytes packed;
        int width, height;
        Bytes dibBits;
    };
    const Case cases[] = {
        {"one pixel, a literal", Cat(Header(1, 1), {0, 1, 2, 3}), 1, 1, {1, 2, 3, 0}},
        {"one pixel, a run of one", Cat(Header(1, 1), {128, 1, 2, 3}), 1, 1, {1, 2, 3, 0}},
        {"a run crossing rows; bottom row first",
         Cat(Header(2, 2), {130, 9, 9, 9, 0, 7, 7, 7}), 2, 2,
         {9, 9, 9, 7, 7, 7, 0, 0, 9, 9, 9, 9, 9, 9, 0, 0}},
        {"rows already on 4 bytes need no padding",
         Cat(Header(4, 1), {1, 1, 1, 1, 2, 2, 2, 129, 3, 3, 3}), 4, 1,
         {1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto unpacked = UnpackSkinBitmap(c.packed);
        ASSERT_TRUE(unpacked.has_value());
        EXPECT_EQ(unpacked->width, c.width);
        EXPECT_EQ(unpacked->height, c.height);
        EXPECT_EQ(unpacked->dibBits, c.dibBits);
    }
}

TEST(PackedBitmapTest, LongestRecordsFillTheirPixels) {
    // 128 pixels by one run, then 128 by one literal.
    Bytes packed = Cat(Header(128, 2), {255, 4, 5, 6, 127});
    for (int i = 0; i < 128; ++i) packed.insert(packed.end(), {std::uint8_t(i), 0, 0});
    const auto unpacked = UnpackSkinBitmap(packed);
    ASSERT_TRUE(unpacked.has_value());
    const std::size_t row = DibRowBytes24(128);
    ASSERT_EQ(unpacked->dibBits.size(), 2 * row);
    EXPECT_EQ(unpacked->dibBits[row + 127 * 3 + 2], 6) << "the top row, last pixel, red";
    EXPECT_EQ(unpacked->dibBits[127 * 3], 127) << "the bottom row, last pixel, blue";
}

// Anything but a whole packed picture is refused, never read past its end.
TEST(PackedBitmapTest, RefusesMalformedBytes) {
    struct Case {
        const char* name;
        Bytes packed;
    };
    const Case cases[] = {
        {"nothing", {}},
        {"a header cut short", {'V', 'S', 'K', 'R', 1, 0, 1}},
        {"another magic", Cat({'V', 'S', 'K', 'Q', 1, 0, 1, 0}, {0, 1, 2, 3})},
        {"zero width", Cat(Header(0, 1), {0, 1, 2, 3})},
        {"zero height", Cat(Header(1, 0), {0, 1, 2, 3})},
        {"wider than the limit", Cat(Header(kPackedBitmapMaxSide + 1, 1), {0, 1, 2, 3})},
        {"higher than the limit", Cat(Header(1, kPackedBitmapMaxSide + 1), {0, 1, 2, 3})},
        {"a header alone", Header(1, 1)},
        {"too few pixels", Cat(Header(2, 1), {0, 1, 2, 3})},
        {"a literal past the last pixel", Cat(Header(1, 1), {1, 1, 2, 3, 4, 5, 6})},
        {"a run past the last pixel", Cat(Header(1, 1), {129, 1, 2, 3})},
        {"a literal past the bytes", Cat(Header(2, 1), {1, 1, 2, 3, 4})},
        {"a run's pixel past the bytes", Cat(Header(2, 1), {129, 1, 2})},
        {"a control byte with nothing after it", Cat(Header(1, 1), {0})},
        {"bytes after the last pixel", Cat(Header(1, 1), {0, 1, 2, 3, 0})},
        {"a size its bytes cannot hold", Cat(Header(4096, 4096), {255, 1, 2, 3})},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(UnpackSkinBitmap(c.packed).has_value()) << c.name;
    }
}

}  // namespace
}  // namespace velmora::skin
