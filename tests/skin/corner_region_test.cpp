#include "skin/corner_region.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/win32_values.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

// A synthetic skin: a plain colour with magenta where asked.
struct Skin {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;

    Skin(int w, int h, std::uint32_t fill = 0x5A3A1E)
        : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Skin& Key(std::initializer_list<SkinPoint> points) {
        for (const SkinPoint& p : points) pixels[std::size_t(p.y) * width + p.x] = kKeyColour;
        return *this;
    }
    Skin& KeyAll() {
        for (auto& p : pixels) p = kKeyColour;
        return *this;
    }
};

// The shipped frame's corners: three magenta pixels each, rounding them.
Skin RoundedFrame(int w, int h) {
    return std::move(Skin(w, h).Key({{0, 0},
                                     {1, 0},
                                     {0, 1},
                                     {w - 2, 0},
                                     {w - 1, 0},
                                     {w - 1, 1},
                                     {0, h - 2},
                                     {0, h - 1},
                                     {1, h - 1},
                                     {w - 1, h - 2},
                                     {w - 2, h - 1},
                                     {w - 1, h - 1}}));
}

// Reads through a checking accessor: every read inside the skin, counted.
std::vector<SkinPoint> Scan(const Skin& skin, SkinSize window, int* reads = nullptr) {
    int count = 0;
    auto cut = CornerCutPixels(skin.width, skin.height, window, [&](int x, int y) {
        EXPECT_TRUE(x >= 0 && x < skin.width && y >= 0 && y < skin.height) << "read " << x << ", " << y;
        ++count;
        return skin.pixels[std::size_t(y) * skin.width + x];
    });
    EXPECT_EQ(CornerCutPixels(skin.pixels, skin.width, skin.height, window), cut) << "span and reader differ";
    if (reads) *reads = count;
    return cut;
}

TEST(CornerRegionTest, KeyPixelsOfEachCornerLeaveTheWindow) {
    struct Case {
        const char* what;
        Skin skin;
        SkinSize window;
        std::vector<SkinPoint> cut;
    };
    const Case cases[] = {
        {"the main dialog: 323 x 53 skin on 355 x 250",
         RoundedFrame(323, 53),
         {355, 250},
         {{0, 0},
          {1, 0},
          {0, 1},
          {353, 0},
          {354, 0},
          {354, 1},
          {0, 248},
          {0, 249},
          {1, 249},
          {354, 248},
          {353, 249},
          {354, 249}}},
        {"the same skin maximised",
         RoundedFrame(323, 53),
         {1926, 1046},
         {{0, 0},
          {1, 0},
          {0, 1},
          {1924, 0},
          {1925, 0},
          {1925, 1},
          {0, 1044},
          {0, 1045},
          {1, 1045},
          {1925, 1044},
          {1924, 1045},
          {1925, 1045}}},
        {"window as large as the skin",
         RoundedFrame(323, 53),
         {323, 53},
         {{0, 0},
          {1, 0},
          {0, 1},
          {321, 0},
          {322, 0},
          {322, 1},
          {0, 51},
          {0, 52},
          {1, 52},
          {322, 51},
          {321, 52},
          {322, 52}}},
        {"no key colour: rectangular", Skin(323, 53), {355, 250}, {}},
        {"only the 5 x 5 corners count",
         std::move(Skin(40, 30).Key({{5, 0}, {0, 5}, {34, 0}, {20, 15}, {4, 4}, {35, 25}})),
         {100, 80},
         {{4, 4}, {95, 75}}},
        {"window smaller than the skin",
         RoundedFrame(323, 53),
         {100, 20},
         {{0, 0},
          {1, 0},
          {0, 1},
          {98, 0},
          {99, 0},
          {99, 1},
          {0, 18},
          {0, 19},
          {1, 19},
          {99, 18},
          {98, 19},
          {99, 19}}},
        {"tiny window: pixels outside it are dropped, doubles listed once",
         Skin(10, 10).KeyAll(),
         {2, 2},
         {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        // A 3 x 3 skin: each corner scans the 3 x 3 pixels it has.
        {"skin narrower and lower than a corner",
         Skin(3, 3).Key({{0, 0}, {2, 2}}),
         {10, 10},
         {{0, 0}, {2, 2}, {7, 0}, {9, 2}, {0, 7}, {2, 9}, {7, 7}, {9, 9}}},
        // An 8 x 8 skin: the corners overlap, (4, 4) lies in all four.
        {"overlapping corners", Skin(8, 8).Key({{4, 4}}), {20, 20}, {{4, 4}, {16, 4}, {4, 16}, {16, 16}}},
        {"overlapping corners, window of the skin's size", Skin(8, 8).Key({{4, 4}}), {8, 8}, {{4, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Scan(c.skin, c.window), c.cut);
    }
}

TEST(CornerRegionTest, AtMostOneHundredReads) {
    int reads = 0;
    EXPECT_EQ(Scan(Skin(323, 53).KeyAll(), {355, 250}, &reads).size(), 100u);
    EXPECT_EQ(reads, 100);
    Scan(Skin(3, 2).KeyAll(), {50, 50}, &reads);
    EXPECT_EQ(reads, 4 * 6);
}

TEST(CornerRegionTest, TheScannedBlockGrowsWithTheArtworksScale) {
    struct Case {
        int dpi;
        int side;
    };
    // 96, 120, 144, 168, 192, 240 DPI take the steps 100 to 250 %; between
    // steps the nearest step's block is scanned.
    const Case cases[] = {{96, 5}, {120, 6}, {144, 8}, {168, 9}, {192, 10}, {240, 13}, {100, 5}, {400, 13}};
    for (const Case& c : cases) EXPECT_EQ(CornerScanSize(c.dpi), c.side) << c.dpi;

    // At 150 % an 8 x 8 block is scanned at each corner, and a key pixel
    // beyond 5 pixels from the corner is cut too.
    Skin skin(485, 80);
    skin.Key({{6, 7}, {478, 0}});
    int reads = 0;
    const auto cuts = CornerCutPixels(
        skin.width, skin.height, {533, 375},
        [&](int x, int y) { return ++reads, skin.pixels[static_cast<std::size_t>(y * skin.width + x)]; },
        CornerScanSize(144));
    EXPECT_EQ(cuts, (std::vector<SkinPoint>{{6, 7}, {526, 0}}));
    EXPECT_EQ(reads, 4 * 8 * 8);
    EXPECT_TRUE(CornerCutPixels(20, 20, {100, 100}, [](int, int) { return kKeyColour; }, 0).empty());
}

TEST(CornerRegionTest, NothingForEmptySizesOrShortBuffers) {
    const Skin skin = Skin(20, 20).KeyAll();
    const SkinSize windows[] = {{0, 100}, {100, 0}, {-5, 100}, {100, -5}};
    for (const SkinSize& w : windows) {
        EXPECT_TRUE(Scan(skin, w).empty()) << w.cx << " x " << w.cy;
    }
    int reads = -1;
    EXPECT_TRUE(CornerCutPixels(0, 20, {100, 100}, [&](int, int) { return ++reads, kKeyColour; }).empty());
    EXPECT_TRUE(CornerCutPixels(20, -1, {100, 100}, [&](int, int) { return ++reads, kKeyColour; }).empty());
    EXPECT_EQ(reads, -1);
    EXPECT_TRUE(CornerCutPixels(20, 20, {100, 100}, SkinPixelReader{}).empty());
    // A buffer one pixel short of 20 x 20 is not read at all.
    EXPECT_TRUE(CornerCutPixels(std::span(skin.pixels).first(399), 20, 20, {100, 100}).empty());
    EXPECT_TRUE(CornerCutPixels(std::span<const std::uint32_t>{}, 20, 20, {100, 100}).empty());
}

TEST(CornerRegionTest, OnlyTheColourBitsAreCompared) {
    struct Case {
        std::uint32_t pixel;
        bool cut;
    };
    const Case cases[] = {
        {0x00FF00FF, true},   // GetPixel's COLORREF, or a DIB's 0x00RRGGBB: magenta reads the same
        {0xFFFF00FF, true},   // with an alpha byte
        {0xFFFFFFFF, false},  // CLR_INVALID
        {0x00FF01FF, false}, {0x00FE00FF, false}, {0x00FF00FE, false},
    };
    for (const Case& c : cases) {
        Skin skin(10, 10);
        skin.pixels[0] = c.pixel;
        EXPECT_EQ(Scan(skin, {50, 50}).size(), c.cut ? 1u : 0u) << std::hex << c.pixel;
    }
}

}  // namespace
}  // namespace velmora::skin
