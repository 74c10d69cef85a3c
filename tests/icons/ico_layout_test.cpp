// The .ico layout: sizes and fields of the published format, and the
// conversion of monochrome icons.
#include "icons/ico_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace velmora {
namespace {

IconImagePixels Solid(std::uint32_t width, std::uint32_t height) {
    IconImagePixels image;
    image.width = width;
    image.height = height;
    image.colour.assign(static_cast<std::size_t>(width) * height * 4, 0x5A);
    image.mask.assign(MaskRowBytes(width) * height, 0xA5);
    return image;
}

TEST(BuildIcoFile, SizesAndFields) {
    const struct {
        std::uint32_t size;
        std::size_t fileBytes;
        std::uint8_t stored;
    } cases[] = {
        {32, 4286, 32}, {16, 1150, 16}, {48, 22 + 40 + 9216 + 48 * 8, 48}, {256, 22 + 40 + 262144 + 8192, 0}};
    for (const auto& c : cases) {
        const auto file = BuildIcoFile(Solid(c.size, c.size));
        ASSERT_EQ(file.size(), c.fileBytes) << c.size;
        const Bytes b(file);
        EXPECT_EQ(*ReadU16(b, 0), 0);
        EXPECT_EQ(*ReadU16(b, 2), 1);
        EXPECT_EQ(*ReadU16(b, 4), 1);
        EXPECT_EQ(b[6], c.stored);
        EXPECT_EQ(b[7], c.stored);
        EXPECT_EQ(b[8], 0);
        EXPECT_EQ(*ReadU16(b, 10), 1);
        EXPECT_EQ(*ReadU16(b, 12), 32);
        EXPECT_EQ(*ReadU32(b, 14), c.fileBytes - 22);
        EXPECT_EQ(*ReadU32(b, 18), 22u);
        EXPECT_EQ(*ReadU32(b, 22), 40u);
        EXPECT_EQ(*ReadU32(b, 26), c.size);
        EXPECT_EQ(*ReadU32(b, 30), c.size * 2);
        EXPECT_EQ(*ReadU16(b, 34), 1);
        EXPECT_EQ(*ReadU16(b, 36), 32);
        EXPECT_EQ(*ReadU32(b, 38), 0u);
        EXPECT_EQ(*ReadU32(b, 42), c.size * c.size * 4);
        EXPECT_EQ(b[62], 0x5A);
        EXPECT_EQ(b[62 + c.size * c.size * 4], 0xA5);
    }
    EXPECT_EQ(*ReadU32(Bytes(BuildIcoFile(Solid(32, 32))), 14), 4264u);
    EXPECT_EQ(BuildIcoFile(Solid(16, 16)).size(), 6u + 16 + 40 + 1024 + 64);
}

TEST(IcoFileBytes, WhatTheFormatCanHold) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    const struct {
        std::uint64_t width, height;
        std::optional<std::uint32_t> bytes;
    } cases[] = {
        {1, 1, 70u},
        {16, 16, 1150u},
        {32, 32, 4286u},
        {256, 256, 62u + 262144 + 8192},
        {32267, 32267, 4294866830u},  // the largest square: the file's size just fits 32 bits
        {32268, 32268, std::nullopt},
        {1, 536870904, 4294967294u},  // 8 bytes a row
        {1, 536870905, std::nullopt},
        {0, 1, std::nullopt},
        {1, 0, std::nullopt},
        {1, 0x40000000, std::nullopt},  // twice the height leaves the signed 32-bit field
        {0xFFFFFFFF, 1, std::nullopt},
        {0x100000000, 1, std::nullopt},
        {kMax, kMax, std::nullopt},
        {kMax, 1, std::nullopt},
        {1, kMax, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IcoFileBytes(c.width, c.height), c.bytes) << c.width << " x " << c.height;
}

TEST(BuildIcoFile, OddWidthsPadMaskRows) {
    EXPECT_EQ(MaskRowBytes(1), 4u);
    EXPECT_EQ(MaskRowBytes(32), 4u);
    EXPECT_EQ(MaskRowBytes(33), 8u);
    EXPECT_EQ(BuildIcoFile(Solid(33, 7)).size(), 22u + 40 + 33 * 7 * 4 + 8 * 7);
}

TEST(BuildIcoFile, RefusesInconsistentImages) {
    EXPECT_TRUE(BuildIcoFile(Solid(0, 16)).empty());
    EXPECT_TRUE(BuildIcoFile(Solid(16, 0)).empty());
    auto shortColour = Solid(16, 16);
    shortColour.colour.pop_back();
    EXPECT_TRUE(BuildIcoFile(shortColour).empty());
    auto longMask = Solid(16, 16);
    longMask.mask.push_back(0);
    EXPECT_TRUE(BuildIcoFile(longMask).empty());
}

TEST(ConvertMonochromeIcon, AndXorBecomeAlphaAndColour) {
    // 2 x 1 pixels: rows of 4 bytes; row 0 is the XOR image, row 1 the AND mask.
    // Pixel 0: AND 0, XOR 1 -> opaque white. Pixel 1: AND 1, XOR 0 -> transparent.
    const std::uint8_t bits[] = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
    const IconImagePixels image = ConvertMonochromeIcon(2, 1, bits);
    ASSERT_EQ(image.colour.size(), 8u);
    EXPECT_EQ(image.colour[0], 0xFF);
    EXPECT_EQ(image.colour[3], 0xFF);
    EXPECT_EQ(image.colour[4], 0x00);
    EXPECT_EQ(image.colour[7], 0x00);
    ASSERT_EQ(image.mask.size(), 4u);
    EXPECT_EQ(image.mask[0], 0x40);
    EXPECT_EQ(BuildIcoFile(image).size(), 22u + 40 + 8 + 4);
    // Too few bits for a double-height mask: nothing to build from.
    EXPECT_TRUE(BuildIcoFile(ConvertMonochromeIcon(2, 1, Bytes(bits, 7))).empty());
}

}  // namespace
}  // namespace velmora
