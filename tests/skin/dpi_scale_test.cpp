#include "skin/dpi_scale.h"

#include <gtest/gtest.h>

#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

// The window's and the skin's numbers at the scales Windows offers.
TEST(DpiScaleTest, NumbersAtEachScale) {
    struct Case {
        int value;
        int dpi;
        int scaled;
    };
    const Case cases[] = {
        // 100 %: everything exactly as given, also where another DPI rounds.
        {355, 96, 355}, {250, 96, 250}, {3, 96, 3}, {0, 96, 0}, {-7, 96, -7},
        // 125 %: 312.5 and 3.75 round up, 443.75 to 444.
        {355, 120, 444}, {250, 120, 313}, {3, 120, 4}, {27, 120, 34}, {48, 120, 60}, {2, 120, 3},
        // 150 %
        {355, 144, 533}, {250, 144, 375}, {3, 144, 5}, {27, 144, 41}, {48, 144, 72}, {1, 144, 2},
        // 175 %: 621.25 down, 437.5 up.
        {355, 168, 621}, {250, 168, 438}, {3, 168, 5}, {27, 168, 47}, {16, 168, 28},
        // 200 %
        {355, 192, 710}, {250, 192, 500}, {3, 192, 6}, {48, 192, 96}, {16, 192, 32},
        // 250 %
        {355, 240, 888}, {250, 240, 625}, {3, 240, 8}, {27, 240, 68}, {48, 240, 120},
        // Negative offsets round away from zero, as positive ones do.
        {-3, 120, -4}, {-1, 144, -2}, {-355, 168, -621},
        // A DPI the system never reports counts as 96.
        {355, 0, 355}, {355, -120, 355},
        // Odd DPIs of custom scales.
        {100, 110, 115}, {100, 97, 101},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi << " DPI";
    }
}

TEST(DpiScaleTest, RectanglesScaleEdgeByEdgeSoNeighboursStillTouch) {
    // The frame's caption pieces: left 0-165, middle 165-168, right 168-323.
    const SkinRect left{0, 0, 165, 27}, middle{165, 0, 168, 27}, right{168, 0, 323, 27};
    for (const int dpi : {96, 120, 144, 168, 192, 240}) {
        const SkinRect l = ScaleRectForDpi(left, dpi), m = ScaleRectForDpi(middle, dpi),
                       r = ScaleRectForDpi(right, dpi);
        EXPECT_EQ(l.right, m.left) << dpi;
        EXPECT_EQ(m.right, r.left) << dpi;
        EXPECT_EQ(r.right, ScaleForDpi(323, dpi)) << dpi;
    }
    EXPECT_EQ(ScaleRectForDpi({165, 0, 168, 27}, 120), (SkinRect{206, 0, 210, 34}));
    EXPECT_EQ(ScaleRectForDpi({10, 20, 30, 40}, 96), (SkinRect{10, 20, 30, 40}));
    EXPECT_EQ(ScaleSizeForDpi({355, 250}, 144), (SkinSize{533, 375}));
    EXPECT_EQ(ScalePointForDpi({-3, 9}, 192), (SkinPoint{-6, 18}));
}

TEST(DpiScaleTest, ArtworkStepOfEachDpi) {
    struct Case {
        int dpi;
        int percent;
    };
    const Case cases[] = {
        {96, 100}, {120, 125}, {144, 150}, {168, 175}, {192, 200}, {240, 250},
        // Below and above the steps.
        {72, 100}, {0, 100}, {-1, 100}, {288, 250}, {480, 250},
        // Between steps: the nearer one; 108 is half-way between 96 and 120 and takes the larger.
        {107, 100}, {108, 125}, {110, 125}, {130, 125}, {132, 150}, {216, 250}, {215, 200},
    };
    for (const Case& c : cases) EXPECT_EQ(ArtworkPercentForDpi(c.dpi), c.percent) << c.dpi << " DPI";
    for (const int percent : kArtworkPercents) EXPECT_EQ(ArtworkPercentForDpi(DpiOfPercent(percent)), percent);
}

}  // namespace
}  // namespace velmora::skin
