// The committed skin bitmaps: their sizes and formats, the key-coloured
// pixels that round the frame's and the add button's corners, and looks that
// differ from state to state.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "skin/button_looks.h"
#include "skin/corner_region.h"
#include "skin/win32_values.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

// A 24-bit uncompressed BMP read into 0x00BBGGRR pixels, top row first.
struct Bitmap {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool IsKey(int x, int y) const { return At(x, y) == kKeyColour; }
};

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

Bitmap Load(const std::string& name) {
    Bitmap bmp;
    std::ifstream in(std::string(VELMORA_RES_DIR) + "/" + name, std::ios::binary);
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le(b, 14, 4) != 40) {
        ADD_FAILURE() << name << ": not a BMP with a BITMAPINFOHEADER";
        return bmp;
    }
    const int width = static_cast<int>(Le(b, 18, 4));
    const int height = static_cast<int>(Le(b, 22, 4));
    bmp.bitsPerPixel = static_cast<int>(Le(b, 28, 2));
    EXPECT_EQ(Le(b, 26, 2), 1u) << name << ": planes";
    EXPECT_EQ(Le(b, 30, 4), 0u) << name << ": compression";
    EXPECT_EQ(Le(b, 2, 4), b.size()) << name << ": file size field";
    const std::size_t offset = Le(b, 10, 4);
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    if (bmp.bitsPerPixel != 24 || width <= 0 || height <= 0 || offset + stride * height > b.size()) {
        ADD_FAILURE() << name << ": not a bottom-up 24-bit image that fits its file";
        return bmp;
    }
    bmp.width = width;
    bmp.height = height;
    bmp.pixels.resize(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = offset + stride * std::size_t(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + std::size_t(x) * 3;  // blue, green, red
            bmp.pixels[std::size_t(y) * width + x] = b[p] << 16 | b[p + 1] << 8 | b[p + 2];
        }
    }
    return bmp;
}

std::set<std::pair<int, int>> KeyPixelsIn(const Bitmap& bmp, int x0, int y0, int w, int h) {
    std::set<std::pair<int, int>> keys;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (bmp.IsKey(x, y)) keys.insert({x, y});
    return keys;
}

bool SameBlock(const Bitmap& bmp, int xa, int xb, int w) {
    for (int y = 0; y < bmp.height; ++y)
        for (int x = 0; x < w; ++x)
            if (bmp.At(xa + x, y) != bmp.At(xb + x, y)) return false;
    return true;
}

TEST(SkinArtworkTest, SizesAndFormat) {
    struct Case {
        const char* file;
        int width, height;
    };
    const Case cases[] = {
        {"CaptionButtons.bmp", 351, 18}, {"Frame.bmp", 323, 53}, {"AddButton.bmp", 100, 25}};
    for (const Case& c : cases) {
        const Bitmap bmp = Load(c.file);
        EXPECT_EQ(bmp.width, c.width) << c.file;
        EXPECT_EQ(bmp.height, c.height) << c.file;
        EXPECT_EQ(bmp.bitsPerPixel, 24) << c.file;
    }
}

TEST(SkinArtworkTest, FrameCornersHaveExactlyThreeKeyPixels) {
    const Bitmap frame = Load("Frame.bmp");
    ASSERT_EQ(frame.width, 323);
    const int W = frame.width, H = frame.height;
    using Keys = std::set<std::pair<int, int>>;
    EXPECT_EQ(KeyPixelsIn(frame, 0, 0, 5, 5), (Keys{{0, 0}, {1, 0}, {0, 1}}));
    EXPECT_EQ(KeyPixelsIn(frame, W - 5, 0, 5, 5), (Keys{{W - 2, 0}, {W - 1, 0}, {W - 1, 1}}));
    EXPECT_EQ(KeyPixelsIn(frame, 0, H - 5, 5, 5), (Keys{{0, H - 2}, {0, H - 1}, {1, H - 1}}));
    EXPECT_EQ(KeyPixelsIn(frame, W - 5, H - 5, 5, 5), (Keys{{W - 1, H - 2}, {W - 2, H - 1}, {W - 1, H - 1}}));
    // The main dialog's region comes out as the window's rounded corners.
    const std::vector<SkinPoint> cut = CornerCutPixels(frame.pixels, W, H, {355, 250});
    const std::vector<SkinPoint> expected = {{0, 0},   {1, 0},     {0, 1},     {353, 0},
                                             {354, 0}, {354, 1},   {0, 248},   {0, 249},
                                             {1, 249}, {354, 248}, {353, 249}, {354, 249}};
    EXPECT_EQ(cut, expected);
}

TEST(SkinArtworkTest, AddButtonCapsAreRoundedAndItsMiddleOpaque) {
    const Bitmap add = Load("AddButton.bmp");
    ASSERT_EQ(add.width, 100);
    const StripFrames f = StripFramesOf(add.width);
    for (int frame = 0; frame < 4; ++frame) {
        const int x0 = frame * f.frame;
        SCOPED_TRACE(frame);
        EXPECT_TRUE(add.IsKey(x0, 0));
        EXPECT_TRUE(add.IsKey(x0 + f.frame - 1, 0));
        EXPECT_TRUE(add.IsKey(x0, add.height - 1));
        EXPECT_TRUE(add.IsKey(x0 + f.frame - 1, add.height - 1));
        // The key colour belongs in the caps only: the stretched middle is opaque.
        EXPECT_TRUE(KeyPixelsIn(add, x0 + f.cap, 0, f.middle, add.height).empty());
        // The caps' inner halves are opaque too, so the body stays whole.
        EXPECT_TRUE(KeyPixelsIn(add, x0 + 4, 4, f.frame - 8, add.height - 8).empty());
    }
    EXPECT_FALSE(SameBlock(add, 0, 25, 25)) << "normal and hover";
    EXPECT_FALSE(SameBlock(add, 25, 50, 25)) << "hover and pressed";
    EXPECT_FALSE(SameBlock(add, 0, 50, 25)) << "normal and pressed";
}

TEST(SkinArtworkTest, CaptionButtonsOpaqueWithThreeDifferentLooks) {
    const Bitmap strip = Load("CaptionButtons.bmp");
    ASSERT_EQ(strip.width, 351);
    // The caption buttons are copied opaque: no key colour anywhere.
    EXPECT_TRUE(KeyPixelsIn(strip, 0, 0, strip.width, strip.height).empty());
    struct Button {
        const char* name;
        int offset, width;
    };
    const Button buttons[] = {
        {"minimise", 0, 25}, {"maximise", 75, 25}, {"close", 150, 42}, {"restore", 276, 25}};
    for (const Button& b : buttons) {
        EXPECT_FALSE(SameBlock(strip, b.offset, b.offset + b.width, b.width)) << b.name << ": normal, hover";
        EXPECT_FALSE(SameBlock(strip, b.offset + b.width, b.offset + 2 * b.width, b.width)) << b.name;
        EXPECT_FALSE(SameBlock(strip, b.offset, b.offset + 2 * b.width, b.width)) << b.name;
    }
    EXPECT_FALSE(SameBlock(strip, 75, 276, 25)) << "maximise and restore glyphs";
}

}  // namespace
}  // namespace velmora::skin
