// The committed skin bitmaps at each artwork step: their sizes against the
// numbers the program cuts them with, the key-coloured pixels that round the
// frame's and the add button's corners, the stretched pieces, and looks that
// differ from state to state. 100 % is read from the .bmp files, the larger
// steps from their packed form.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/SkinArtwork.h"
#include "skin/button_looks.h"
#include "skin/corner_region.h"
#include "skin/dpi_scale.h"
#include "skin/frame_layout.h"
#include "skin/packed_bitmap.h"
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

std::vector<unsigned char> ReadFile(const std::string& name) {
    std::ifstream in(std::string(VELMORA_RES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A packed bitmap, unpacked and read back from its DIB rows.
Bitmap LoadPacked(const std::string& name) {
    Bitmap bmp;
    const std::vector<unsigned char> b = ReadFile(name);
    const auto unpacked = UnpackSkinBitmap(std::span<const std::uint8_t>(b.data(), b.size()));
    if (!unpacked) {
        ADD_FAILURE() << name << ": not a whole packed bitmap";
        return bmp;
    }
    bmp.width = unpacked->width;
    bmp.height = unpacked->height;
    bmp.bitsPerPixel = 24;
    bmp.pixels.resize(std::size_t(bmp.width) * bmp.height);
    const std::size_t stride = DibRowBytes24(bmp.width);
    for (int y = 0; y < bmp.height; ++y) {
        const std::uint8_t* row = unpacked->dibBits.data() + stride * std::size_t(bmp.height - 1 - y);
        for (int x = 0; x < bmp.width; ++x) {
            const std::uint8_t* p = row + std::size_t(x) * 3;  // blue, green, red
            bmp.pixels[std::size_t(y) * bmp.width + x] = p[0] << 16 | p[1] << 8 | p[2];
        }
    }
    return bmp;
}

Bitmap Load(const std::string& name) {
    Bitmap bmp;
    const std::vector<unsigned char> b = ReadFile(name);
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

// The artwork of one step: CaptionButtons, Frame and AddButton.
struct Artwork {
    int percent = 100;
    int dpi = kBaseDpi;
    Bitmap captionButtons, frame, addButton;
    // The program's numbers for the step, as the skinned frame sets them.
    app::SkinArtwork numbers;
    int Scale(int value) const { return ScaleForDpi(value, dpi); }
};

Artwork LoadStep(int percent) {
    Artwork a;
    a.percent = percent;
    a.dpi = DpiOfPercent(percent);
    a.numbers = app::SkinArtworkForDpi(a.dpi);
    if (percent == 100) {
        a.captionButtons = Load("CaptionButtons.bmp");
        a.frame = Load("Frame.bmp");
        a.addButton = Load("AddButton.bmp");
    } else {
        const std::string step = std::to_string(percent);
        a.captionButtons = LoadPacked("CaptionButtons" + step + ".vskr");
        a.frame = LoadPacked("Frame" + step + ".vskr");
        a.addButton = LoadPacked("AddButton" + step + ".vskr");
    }
    return a;
}

// Every step, loaded once.
const std::vector<Artwork>& Steps() {
    static const std::vector<Artwork> steps = [] {
        std::vector<Artwork> all;
        for (const int percent : kArtworkPercents) all.push_back(LoadStep(percent));
        return all;
    }();
    return steps;
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

// True when every column of `rect` equals its first (a piece stretched
// sideways) or, with `vertical`, every row its first.
bool UniformAlong(const Bitmap& bmp, SkinRect rect, bool vertical) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (bmp.At(x, y) != (vertical ? bmp.At(x, rect.top) : bmp.At(rect.left, y))) return false;
    return true;
}

// The sizes at 100 % are the committed ones; every step's are the program's
// numbers: the strips as wide as their frames, the frame as large as its
// pieces reach, each piece as large as at 100 % scaled.
TEST(SkinArtworkTest, SizesAtEachStepAreTheProgramsNumbers) {
    ASSERT_EQ(Steps().size(), std::size(kArtworkPercents));
    const Artwork& base = Steps().front();
    EXPECT_EQ(base.captionButtons.width, 351);
    EXPECT_EQ(base.captionButtons.height, 18);
    EXPECT_EQ(base.frame.width, 323);
    EXPECT_EQ(base.frame.height, 53);
    EXPECT_EQ(base.addButton.width, 100);
    EXPECT_EQ(base.addButton.height, 25);
    for (const Artwork& a : Steps()) {
        SCOPED_TRACE(a.percent);
        EXPECT_EQ(a.numbers.percent, a.percent);
        EXPECT_EQ(a.frame.bitsPerPixel, 24);
        // The caption strip: three looks of minimise, maximise, close and restore.
        const CaptionButtonLayout& layout = a.numbers.captionButtons;
        EXPECT_EQ(layout.height, a.Scale(18));
        EXPECT_EQ(a.captionButtons.width, CaptionStripOffsetsOf(layout).restore + 3 * layout.maxWidth);
        EXPECT_EQ(a.captionButtons.height, layout.height);
        // The frame: every piece its 100 % size scaled and laid out as at
        // 100 %: pieces side by side there are side by side here, those that
        // end at the bitmap's right or bottom edge there end at it here, and
        // none overlaps another or leaves the bitmap.
        const SkinRect* pieces = a.numbers.framePieces;
        const SkinRect* pieces100 = base.numbers.framePieces;
        for (int i = 0; i < app::kFramePieceCount; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(pieces[i].Width(), a.Scale(pieces100[i].Width()));
            EXPECT_EQ(pieces[i].Height(), a.Scale(pieces100[i].Height()));
            EXPECT_EQ(pieces[i].right == a.frame.width, pieces100[i].right == base.frame.width);
            EXPECT_EQ(pieces[i].bottom == a.frame.height, pieces100[i].bottom == base.frame.height);
            EXPECT_TRUE(pieces[i].left >= 0 && pieces[i].top >= 0 && pieces[i].right <= a.frame.width &&
                        pieces[i].bottom <= a.frame.height);
            for (int j = 0; j < app::kFramePieceCount; ++j) {
                if (j == i) continue;
                const bool sideBySide100 = pieces100[i].right == pieces100[j].left &&
                                           pieces100[i].top < pieces100[j].bottom &&
                                           pieces100[j].top < pieces100[i].bottom;
                if (sideBySide100) {
                    EXPECT_EQ(pieces[i].right, pieces[j].left) << "piece " << j;
                }
                const bool overlap = pieces[i].left < pieces[j].right && pieces[j].left < pieces[i].right &&
                                     pieces[i].top < pieces[j].bottom && pieces[j].top < pieces[i].bottom;
                EXPECT_FALSE(overlap) << "piece " << j;
            }
        }
        // The add button: four square frames of 25 at 100 %.
        EXPECT_EQ(a.addButton.width, 4 * a.Scale(25));
        EXPECT_EQ(a.addButton.height, a.Scale(25));
    }
}

// The three-pixel corner cut, scaled: the pixels whose distance x + y from
// the corner is under the cut's leg (2 at 100 %). They lie in the 5 x 5 the
// window's region is read from, and no other frame pixel is key-coloured.
TEST(SkinArtworkTest, FrameCornersAreCutAtEachStep) {
    using Keys = std::set<std::pair<int, int>>;
    for (const Artwork& a : Steps()) {
        SCOPED_TRACE(a.percent);
        const Bitmap& frame = a.frame;
        ASSERT_GT(frame.width, 10);
        const int W = frame.width, H = frame.height, leg = a.Scale(2);
        Keys expected[4];
        for (int y = 0; y < leg; ++y) {
            for (int x = 0; x + y < leg; ++x) {
                expected[0].insert({x, y});
                expected[1].insert({W - 1 - x, y});
                expected[2].insert({x, H - 1 - y});
                expected[3].insert({W - 1 - x, H - 1 - y});
            }
        }
        EXPECT_EQ(KeyPixelsIn(frame, 0, 0, 5, 5), expected[0]);
        EXPECT_EQ(KeyPixelsIn(frame, W - 5, 0, 5, 5), expected[1]);
        EXPECT_EQ(KeyPixelsIn(frame, 0, H - 5, 5, 5), expected[2]);
        EXPECT_EQ(KeyPixelsIn(frame, W - 5, H - 5, 5, 5), expected[3]);
        EXPECT_EQ(KeyPixelsIn(frame, 0, 0, W, H).size(), 4 * expected[0].size());
        // The window's region loses every cut pixel and nothing else.
        const SkinSize window{a.Scale(355), a.Scale(250)};
        EXPECT_EQ(CornerCutPixels(frame.pixels, W, H, window).size(), 4 * expected[0].size());
    }
    // At 100 % the main dialog's region comes out as the window's rounded corners.
    const Bitmap& frame = Steps().front().frame;
    const std::vector<SkinPoint> cut = CornerCutPixels(frame.pixels, frame.width, frame.height, {355, 250});
    const std::vector<SkinPoint> expected = {{0, 0},   {1, 0},     {0, 1},     {353, 0},
                                             {354, 0}, {354, 1},   {0, 248},   {0, 249},
                                             {1, 249}, {354, 248}, {353, 249}, {354, 249}};
    EXPECT_EQ(cut, expected);
}

// The stretched pieces (title middle, side borders, bottom middle) repeat one
// column or row, so that stretching them shows no seam, and the borders are
// drawn alike on every side.
TEST(SkinArtworkTest, StretchedFramePiecesAreUniformAndBordersAlikeAtEachStep) {
    for (const Artwork& a : Steps()) {
        SCOPED_TRACE(a.percent);
        const SkinRect* pieces = a.numbers.framePieces;
        EXPECT_TRUE(UniformAlong(a.frame, pieces[1], false)) << "title middle";
        EXPECT_TRUE(UniformAlong(a.frame, pieces[3], true)) << "left border";
        EXPECT_TRUE(UniformAlong(a.frame, pieces[4], true)) << "right border";
        EXPECT_TRUE(UniformAlong(a.frame, pieces[6], false)) << "bottom middle";
        // Each side's border is as thick as its piece: its innermost column
        // (row) is the first that is not the interior's colour.
        const std::uint32_t interior = a.frame.At(a.frame.width / 2, pieces[3].top);
        EXPECT_NE(a.frame.At(pieces[3].right - 1, pieces[3].top), interior) << "left border";
        EXPECT_EQ(a.frame.At(pieces[3].right, pieces[3].top), interior) << "left border";
        EXPECT_NE(a.frame.At(pieces[4].left, pieces[4].top), interior) << "right border";
        EXPECT_EQ(a.frame.At(pieces[4].left - 1, pieces[4].top), interior) << "right border";
        EXPECT_NE(a.frame.At(pieces[6].left, pieces[6].top), interior) << "bottom border";
        EXPECT_EQ(a.frame.At(pieces[6].left, pieces[6].top - 1), interior) << "bottom border";
        // The borders are alike: the three pixels of 100 % scaled, with the
        // same colours from the window's edge inward on every side, the
        // bottom's corners as high as its middle.
        const Bitmap& frame = a.frame;
        std::vector<std::uint32_t> left, right, bottom;
        for (int d = 0; d < pieces[3].Width(); ++d) left.push_back(frame.At(pieces[3].left + d, pieces[3].top));
        for (int d = 0; d < pieces[4].Width(); ++d) right.push_back(frame.At(pieces[4].right - 1 - d, pieces[4].top));
        for (int d = 0; d < pieces[6].Height(); ++d)
            bottom.push_back(frame.At(pieces[6].left, pieces[6].bottom - 1 - d));
        EXPECT_EQ(int(left.size()), a.Scale(3));
        EXPECT_EQ(right, left);
        EXPECT_EQ(bottom, left);
        EXPECT_EQ(pieces[5].Height(), pieces[6].Height());
        EXPECT_EQ(pieces[7].Height(), pieces[6].Height());
        // The caption: its outline on top and its separator below as thick as
        // the borders' outline (rows of one colour, counted down from the
        // top and up from the caption's last row).
        int outline = 0;
        while (outline < int(left.size()) && left[outline] == left[0]) ++outline;
        const auto rowsAlike = [&frame](int x, int y, int step) {
            int n = 0;
            while (y + n * step >= 0 && y + n * step < frame.height && frame.At(x, y + n * step) == frame.At(x, y)) ++n;
            return n;
        };
        EXPECT_EQ(rowsAlike(pieces[1].left, 0, 1), outline) << "caption's outline";
        EXPECT_EQ(rowsAlike(pieces[1].left, pieces[1].bottom - 1, -1), outline) << "caption's separator";
    }
}

TEST(SkinArtworkTest, AddButtonCapsAreRoundedAndItsMiddleOpaqueAtEachStep) {
    const Artwork& base = Steps().front();
    for (const Artwork& a : Steps()) {
        SCOPED_TRACE(a.percent);
        const Bitmap& add = a.addButton;
        const StripFrames f = StripFramesOf(add.width);
        ASSERT_TRUE(f.IsUsable());
        const int inset = a.Scale(4);
        for (int frame = 0; frame < 4; ++frame) {
            const int x0 = frame * f.frame;
            SCOPED_TRACE(frame);
            EXPECT_TRUE(add.IsKey(x0, 0));
            EXPECT_TRUE(add.IsKey(x0 + f.frame - 1, 0));
            EXPECT_TRUE(add.IsKey(x0, add.height - 1));
            EXPECT_TRUE(add.IsKey(x0 + f.frame - 1, add.height - 1));
            // The key colour belongs in the caps only: the stretched middle is
            // opaque, and uniform along its stretch.
            EXPECT_TRUE(KeyPixelsIn(add, x0 + f.cap, 0, f.middle, add.height).empty());
            EXPECT_TRUE(UniformAlong(add, RectAt(x0 + f.cap, 0, f.middle, add.height), false));
            // The rounded ends are the 11-pixel caps of 100 % scaled: caps
            // wider than that (the strip's middle stays 2 or 3 pixels at
            // every step) add only columns like the middle's.
            const int ends = a.Scale(StripFramesOf(base.addButton.width).cap);
            EXPECT_TRUE(UniformAlong(add, RectAt(x0 + ends, 0, f.frame - 2 * ends, add.height), false));
            // The caps' inner halves are opaque too, so the body stays whole.
            EXPECT_TRUE(KeyPixelsIn(add, x0 + inset, inset, f.frame - 2 * inset, add.height - 2 * inset).empty());
        }
        EXPECT_FALSE(SameBlock(add, 0, f.frame, f.frame)) << "normal and hover";
        EXPECT_FALSE(SameBlock(add, f.frame, 2 * f.frame, f.frame)) << "hover and pressed";
        EXPECT_FALSE(SameBlock(add, 0, 2 * f.frame, f.frame)) << "normal and pressed";
    }
}

TEST(SkinArtworkTest, CaptionButtonsOpaqueWithThreeDifferentLooksAtEachStep) {
    for (const Artwork& a : Steps()) {
        SCOPED_TRACE(a.percent);
        const Bitmap& strip = a.captionButtons;
        ASSERT_GT(strip.width, 0);
        // The caption buttons are copied opaque: no key colour anywhere.
        EXPECT_TRUE(KeyPixelsIn(strip, 0, 0, strip.width, strip.height).empty());
        const CaptionButtonLayout& layout = a.numbers.captionButtons;
        const CaptionStripOffsets offsets = CaptionStripOffsetsOf(layout);
        struct Button {
            const char* name;
            int offset, width;
        };
        const Button buttons[] = {{"minimise", offsets.minimize, layout.minWidth},
                                  {"maximise", offsets.maximize, layout.maxWidth},
                                  {"close", offsets.close, layout.closeWidth},
                                  {"restore", offsets.restore, layout.maxWidth}};
        for (const Button& b : buttons) {
            EXPECT_FALSE(SameBlock(strip, b.offset, b.offset + b.width, b.width)) << b.name << ": normal, hover";
            EXPECT_FALSE(SameBlock(strip, b.offset + b.width, b.offset + 2 * b.width, b.width)) << b.name;
            EXPECT_FALSE(SameBlock(strip, b.offset, b.offset + 2 * b.width, b.width)) << b.name;
        }
        EXPECT_FALSE(SameBlock(strip, offsets.maximize, offsets.restore, layout.maxWidth))
            << "maximise and restore glyphs";
    }
}

}  // namespace
}  // namespace velmora::skin
