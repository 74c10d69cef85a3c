#include "skin/button_looks.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

constexpr ButtonLook kNormal = ButtonLook::kNormal;
constexpr ButtonLook kHover = ButtonLook::kHover;
constexpr ButtonLook kPressed = ButtonLook::kPressed;

TEST(ButtonLookTest, PressedOnlyWithHover) {
    struct Case {
        bool pressed, hover;
        ButtonLook look;
    };
    const Case cases[] = {
        {false, false, kNormal}, {false, true, kHover}, {true, true, kPressed}, {true, false, kNormal}};
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseLook(c.pressed, c.hover), c.look) << c.pressed << c.hover;
    }
}

TEST(ButtonLookTest, CaptionStripSourceX) {
    struct Case {
        int offset, width;
        ButtonLook look;
        int x;
    };
    const Case cases[] = {
        // Minimise, maximise and close buttons of the 351 x 18 caption strip.
        {0, 25, kNormal, 0},
        {0, 25, kHover, 25},
        {0, 25, kPressed, 50},
        {75, 25, kNormal, 75},
        {75, 25, kHover, 100},
        {75, 25, kPressed, 125},
        {150, 42, kNormal, 150},
        {150, 42, kHover, 192},
        {150, 42, kPressed, 234},
        // The restore images of the maximise button.
        {276, 25, kPressed, 326},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SkinButtonSourceX(c.offset, c.width, c.look), c.x) << c.offset << " " << c.width;
    }
}

TEST(StripFramesTest, FrameCapAndMiddleForAnyWidth) {
    struct Case {
        int width;
        StripFrames frames;
    };
    const Case cases[] = {
        // Too narrow for a frame, or nonsense: no strip at all.
        {-100, {0, 0, 0}},
        {-4, {0, 0, 0}},
        {-1, {0, 0, 0}},
        {0, {0, 0, 0}},
        {3, {0, 0, 0}},
        // Frames of 1 to 3 pixels have no caps.
        {4, {1, 0, 1}},
        {7, {1, 0, 1}},
        {8, {2, 0, 2}},
        {11, {2, 0, 2}},
        {12, {3, 0, 3}},
        {16, {4, 1, 2}},
        {20, {5, 1, 3}},
        // The add button's strip, and widths that do not divide by 4.
        {100, {25, 11, 3}},
        {101, {25, 11, 3}},
        {102, {25, 11, 3}},
        {103, {25, 11, 3}},
        {104, {26, 12, 2}},
        {351, {87, 42, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripFramesOf(c.width), c.frames) << "W = " << c.width;
    }
    // Every usable width splits its frame exactly, with a middle of 1 to 3.
    for (int width = 4; width <= 1000; ++width) {
        const StripFrames f = StripFramesOf(width);
        ASSERT_TRUE(f.IsUsable()) << width;
        EXPECT_EQ(2 * f.cap + f.middle, f.frame) << width;
        EXPECT_GE(f.cap, 0) << width;
        EXPECT_TRUE(f.middle >= 1 && f.middle <= 3) << width;
    }
}

TEST(StripLookPlanTest, CapsKeepTheirSizeAndTheMiddleStretches) {
    struct Case {
        const char* what;
        int stripWidth, stripHeight, width, height;
        ButtonLook look;
        std::vector<BlitStep> steps;
    };
    const Case cases[] = {
        {"add button, 71 px: caps 11, middle 3 over 49",
         100,
         25,
         71,
         25,
         kNormal,
         {{{0, 0, 11, 25}, {0, 0, 11, 25}, true},
          {{11, 0, 14, 25}, {11, 0, 60, 25}, false},
          {{14, 0, 25, 25}, {60, 0, 71, 25}, true}}},
        {"hover frame",
         100,
         25,
         71,
         25,
         kHover,
         {{{25, 0, 36, 25}, {0, 0, 11, 25}, true},
          {{36, 0, 39, 25}, {11, 0, 60, 25}, false},
          {{39, 0, 50, 25}, {60, 0, 71, 25}, true}}},
        {"pressed frame",
         100,
         25,
         71,
         25,
         kPressed,
         {{{50, 0, 61, 25}, {0, 0, 11, 25}, true},
          {{61, 0, 64, 25}, {11, 0, 60, 25}, false},
          {{64, 0, 75, 25}, {60, 0, 71, 25}, true}}},
        {"exactly one frame wide: 1:1",
         100,
         25,
         25,
         25,
         kNormal,
         {{{0, 0, 11, 25}, {0, 0, 11, 25}, true},
          {{11, 0, 14, 25}, {11, 0, 14, 25}, false},
          {{14, 0, 25, 25}, {14, 0, 25, 25}, true}}},
        {"taller than the strip: only its rows",
         100,
         25,
         30,
         40,
         kNormal,
         {{{0, 0, 11, 25}, {0, 0, 11, 25}, true},
          {{11, 0, 14, 25}, {11, 0, 19, 25}, false},
          {{14, 0, 25, 25}, {19, 0, 30, 25}, true}}},
        {"lower than the strip",
         100,
         25,
         30,
         10,
         kNormal,
         {{{0, 0, 11, 10}, {0, 0, 11, 10}, true},
          {{11, 0, 14, 10}, {11, 0, 19, 10}, false},
          {{14, 0, 25, 10}, {19, 0, 30, 10}, true}}},
        {"no room for the middle: never mirrored",
         100,
         25,
         22,
         25,
         kNormal,
         {{{0, 0, 11, 25}, {0, 0, 11, 25}, true}, {{14, 0, 25, 25}, {11, 0, 22, 25}, true}}},
        {"a strip whose width does not divide by 4",
         103,
         25,
         71,
         25,
         kHover,
         {{{25, 0, 36, 25}, {0, 0, 11, 25}, true},
          {{36, 0, 39, 25}, {11, 0, 60, 25}, false},
          {{39, 0, 50, 25}, {60, 0, 71, 25}, true}}},
        {"frames without caps: all middle", 8, 5, 10, 5, kPressed, {{{4, 0, 6, 5}, {0, 0, 10, 5}, false}}},
        {"no strip", 3, 25, 71, 25, kNormal, {}},
        {"negative strip width", -100, 25, 71, 25, kNormal, {}},
        {"strip without rows", 100, 0, 71, 25, kNormal, {}},
        {"empty button", 100, 25, 0, 25, kNormal, {}},
        {"button without height", 100, 25, 71, 0, kNormal, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BlitPlan plan = PlanStripLook(c.stripWidth, c.stripHeight, c.width, c.height, c.look);
        ASSERT_EQ(plan.count, static_cast<int>(c.steps.size()));
        for (int i = 0; i < plan.count; ++i) {
            EXPECT_EQ(plan.steps[i], c.steps[static_cast<std::size_t>(i)]) << "step " << i;
        }
    }
}

TEST(StripFitTest, AtLeastOneFrameWideAndExactlyTheStripHigh) {
    struct Case {
        SkinRect window;
        int stripWidth, stripHeight;
        SkinRect fitted;
        bool needsFit;
    };
    const Case cases[] = {
        // The add button, placed 71 x 20 by the dialog.
        {{240, 60, 311, 80}, 100, 25, {240, 60, 311, 85}, true},
        {{240, 60, 311, 85}, 100, 25, {240, 60, 311, 85}, false},
        {{10, 20, 15, 22}, 100, 25, {10, 20, 35, 45}, true},
        {{10, 20, 34, 45}, 100, 25, {10, 20, 35, 45}, true},
        {{10, 20, 35, 45}, 100, 25, {10, 20, 35, 45}, false},
        {{10, 20, 81, 60}, 100, 25, {10, 20, 81, 45}, true},
        {{-5, -5, 0, 0}, 100, 25, {-5, -5, 20, 20}, true},
        {{10, 20, 81, 45}, 103, 25, {10, 20, 81, 45}, false},
        // Without a usable strip nothing is fitted.
        {{10, 20, 15, 22}, 3, 25, {10, 20, 15, 22}, false},
        {{10, 20, 15, 22}, 100, 0, {10, 20, 15, 22}, false},
        {{10, 20, 15, 22}, 100, -25, {10, 20, 15, 22}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitToStrip(c.window, c.stripWidth, c.stripHeight), c.fitted) << c.window.Width();
        EXPECT_EQ(NeedsFitToStrip({c.window.Width(), c.window.Height()}, c.stripWidth, c.stripHeight),
                  c.needsFit)
            << c.window.Width() << " x " << c.window.Height();
    }
}

TEST(StaticLookTest, IconCentredAndTextBesideIt) {
    struct Case {
        int clientHeight, iconHeight, top;
    };
    const Case cases[] = {{25, 16, 4}, {20, 16, 2}, {17, 16, 0}, {16, 16, 0},
                          {10, 16, 0}, {0, 16, 0},  {48, 32, 8}};
    for (const Case& c : cases) {
        EXPECT_EQ(StaticIconTop(c.clientHeight, c.iconHeight), c.top)
            << c.clientHeight << " " << c.iconHeight;
    }
    EXPECT_EQ(StaticTextRect({0, 0, 200, 20}, true, 16), (SkinRect{19, 0, 200, 20}));
    EXPECT_EQ(StaticTextRect({0, 0, 200, 20}, true, 32), (SkinRect{35, 0, 200, 20}));
    EXPECT_EQ(StaticTextRect({0, 0, 200, 20}, false, 16), (SkinRect{0, 0, 200, 20}));
    // The gap beside the icon follows the DPI: 5 pixels at 144.
    EXPECT_EQ(StaticTextRect({0, 0, 300, 30}, true, 24, 144), (SkinRect{29, 0, 300, 30}));
}

TEST(TextRectTest, EachLookOfBothModes) {
    struct Case {
        SkinRect client;
        ButtonLook look;
        SkinRect textButton;
        SkinRect bitmap;
        int dpi = 96;
    };
    const Case cases[] = {
        {{0, 0, 120, 20}, kNormal, {0, 4, 120, 20}, {0, 0, 120, 20}},
        {{0, 0, 120, 20}, kHover, {0, 4, 120, 20}, {0, 0, 120, 20}},
        // The pressed text sits one pixel right of and below the normal one.
        {{0, 0, 120, 20}, kPressed, {1, 5, 121, 20}, {1, 2, 120, 20}},
        {{0, 0, 71, 25}, kNormal, {0, 6, 71, 25}, {0, 0, 71, 25}},
        {{0, 0, 71, 25}, kPressed, {1, 7, 71 + 1, 25}, {1, 2, 71, 25}},
        // Lower than the 12-pixel text: it starts above the top.
        {{0, 0, 50, 8}, kNormal, {0, -2, 50, 8}, {0, 0, 50, 8}},
        // At 144 DPI the text is 18 pixels high and the pressed shifts are 2
        // (and 3 at the top of the bitmap look); at 192 DPI 24, 2 and 4.
        {{0, 0, 197, 30}, kNormal, {0, 6, 197, 30}, {0, 0, 197, 30}, 144},
        {{0, 0, 197, 30}, kPressed, {2, 8, 199, 30}, {2, 3, 197, 30}, 144},
        {{0, 0, 262, 40}, kPressed, {2, 10, 264, 40}, {2, 4, 262, 40}, 192},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextButtonTextRect(c.client, c.look, c.dpi), c.textButton) << static_cast<int>(c.look);
        EXPECT_EQ(BitmapButtonTextRect(c.client, c.look, c.dpi), c.bitmap) << static_cast<int>(c.look);
    }
}

TEST(TextButtonStyleTest, ColourAndUnderlinePerLook) {
    const Colour black = 0x000000, blue = 0xFF0000;
    EXPECT_EQ(TextButtonColour(false, false, black, blue), black);
    EXPECT_EQ(TextButtonColour(false, true, black, blue), blue);
    EXPECT_EQ(TextButtonColour(true, true, black, blue), blue);
    EXPECT_EQ(TextButtonColour(true, false, black, blue), blue);  // pressed alone, normal look, hover colour

    struct Case {
        std::uint32_t states;
        bool normal, hover, pressed;
    };
    const Case cases[] = {{0, false, false, false},          {7, true, true, true},   {1, true, false, false},
                          {2, false, true, false},           {4, false, false, true}, {5, true, false, true},
                          {0xFFFFFFF8u, false, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsUnderlined(c.states, kNormal), c.normal) << c.states;
        EXPECT_EQ(IsUnderlined(c.states, kHover), c.hover) << c.states;
        EXPECT_EQ(IsUnderlined(c.states, kPressed), c.pressed) << c.states;
    }
}

TEST(TransButtonModeTest, CursorAndMouseTransparency) {
    struct Case {
        TransButtonMode mode;
        bool hasImage;
        int cursor;
        bool transparent;
    };
    const Case cases[] = {
        {TransButtonMode::kStatic, false, kCursorArrow, true},
        {TransButtonMode::kStatic, true, kCursorArrow, true},
        {TransButtonMode::kTextButton, false, kCursorHand, false},
        {TransButtonMode::kTextButton, true, kCursorHand, false},
        {TransButtonMode::kBitmap, false, kCursorHand, false},
        {TransButtonMode::kBitmap, true, kCursorArrow, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TransButtonCursor(c.mode, c.hasImage), c.cursor) << static_cast<int>(c.mode) << c.hasImage;
        EXPECT_EQ(TransButtonIsMouseTransparent(c.mode), c.transparent) << static_cast<int>(c.mode);
    }
}

}  // namespace
}  // namespace velmora::skin
