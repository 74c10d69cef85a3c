#include "app/ui/SkinArtwork.h"

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::app {
namespace {

using skin::RectAt;
using skin::SkinPoint;
using skin::SkinRect;

// Which resources a window's DPI takes: the nearest step, the larger on a
// tie, 100 % below and 250 % above the steps.
TEST(SkinArtworkChoiceTest, StepAndResourcesOfEachDpi) {
    struct Case {
        int dpi;
        int percent;
        bool packed;
        unsigned captionButtons, frame, addButton;
    };
    const Case cases[] = {
        {96, 100, false, IDB_CAPTION_BUTTONS, IDB_FRAME, IDB_ADD_BUTTON},
        {0, 100, false, IDB_CAPTION_BUTTONS, IDB_FRAME, IDB_ADD_BUTTON},
        {-144, 100, false, IDB_CAPTION_BUTTONS, IDB_FRAME, IDB_ADD_BUTTON},
        {72, 100, false, IDB_CAPTION_BUTTONS, IDB_FRAME, IDB_ADD_BUTTON},
        {108, 125, true, IDR_SKIN_125_CAPTION_BUTTONS, IDR_SKIN_125_FRAME, IDR_SKIN_125_ADD_BUTTON},
        {120, 125, true, IDR_SKIN_125_CAPTION_BUTTONS, IDR_SKIN_125_FRAME, IDR_SKIN_125_ADD_BUTTON},
        {144, 150, true, IDR_SKIN_150_CAPTION_BUTTONS, IDR_SKIN_150_FRAME, IDR_SKIN_150_ADD_BUTTON},
        {168, 175, true, IDR_SKIN_175_CAPTION_BUTTONS, IDR_SKIN_175_FRAME, IDR_SKIN_175_ADD_BUTTON},
        {192, 200, true, IDR_SKIN_200_CAPTION_BUTTONS, IDR_SKIN_200_FRAME, IDR_SKIN_200_ADD_BUTTON},
        {216, 250, true, IDR_SKIN_250_CAPTION_BUTTONS, IDR_SKIN_250_FRAME, IDR_SKIN_250_ADD_BUTTON},
        {240, 250, true, IDR_SKIN_250_CAPTION_BUTTONS, IDR_SKIN_250_FRAME, IDR_SKIN_250_ADD_BUTTON},
        {480, 250, true, IDR_SKIN_250_CAPTION_BUTTONS, IDR_SKIN_250_FRAME, IDR_SKIN_250_ADD_BUTTON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const SkinArtwork artwork = SkinArtworkForDpi(c.dpi);
        EXPECT_EQ(artwork.percent, c.percent);
        EXPECT_EQ(artwork.artworkDpi, c.percent * 96 / 100);
        EXPECT_EQ(artwork.packed, c.packed);
        EXPECT_EQ(artwork.captionButtonsId, c.captionButtons);
        EXPECT_EQ(artwork.frameId, c.frame);
        EXPECT_EQ(artwork.addButtonId, c.addButton);
    }
}

// The frame's numbers: exactly the 100 % ones at 96 DPI, and at a step the
// step's numbers (those of its bitmaps), whatever DPI between steps chose it.
TEST(SkinArtworkChoiceTest, FrameNumbersOfAStep) {
    struct Case {
        int dpi;
        SkinRect pieces[kFramePieceCount];
        SkinPoint captionText;
        int buttons[8];  // widths (min, max, close), height, gap, margins (right, top), maximised offset
        SkinRect icon;
    };
    const Case cases[] = {
        {96,
         {RectAt(0, 0, 165, 27), RectAt(165, 0, 3, 27), RectAt(168, 0, 155, 27), RectAt(0, 30, 3, 10),
          RectAt(320, 30, 3, 10), RectAt(0, 50, 8, 3), RectAt(8, 50, 5, 3), RectAt(311, 50, 12, 3)},
         {35, 8},
         {25, 25, 42, 18, 0, 7, 0, 1},
         RectAt(9, 6, 16, 16)},
        // 125 %, from a DPI of 130: each piece its 100 % size scaled (every
        // border 4 thick, the caption 34 high), the caption's pieces side by
        // side and the right-hand pieces ending at the bitmap's right edge.
        {130,
         {{0, 0, 206, 34}, {206, 0, 210, 34}, {210, 0, 404, 34}, {0, 38, 4, 51}, {400, 38, 404, 51},
          {0, 63, 10, 67}, {10, 63, 16, 67}, {389, 63, 404, 67}},
         {44, 10},
         {31, 31, 53, 23, 0, 9, 0, 1},
         {11, 8, 31, 28}},
        // 150 %: the caption's middle 5 wide (3 x 1.5 rounded), which makes
        // the bitmap a pixel wider than 323 x 1.5 rounded.
        {144,
         {{0, 0, 248, 41}, {248, 0, 253, 41}, {253, 0, 486, 41}, {0, 45, 5, 60}, {481, 45, 486, 60},
          {0, 75, 12, 80}, {12, 75, 20, 80}, {468, 75, 486, 80}},
         {53, 12},
         {38, 38, 63, 27, 0, 11, 0, 2},
         {14, 9, 38, 33}},
        // 250 %.
        {240,
         {{0, 0, 413, 68}, {413, 0, 421, 68}, {421, 0, 809, 68}, {0, 75, 8, 100}, {801, 75, 809, 100},
          {0, 125, 20, 133}, {20, 125, 33, 133}, {779, 125, 809, 133}},
         {88, 20},
         {63, 63, 105, 45, 0, 18, 0, 3},
         {23, 15, 63, 55}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const SkinArtwork artwork = SkinArtworkForDpi(c.dpi);
        for (int i = 0; i < kFramePieceCount; ++i) EXPECT_EQ(artwork.framePieces[i], c.pieces[i]) << "piece " << i;
        EXPECT_EQ(artwork.captionText, c.captionText);
        const skin::CaptionButtonLayout& b = artwork.captionButtons;
        const int buttons[8] = {b.minWidth, b.maxWidth,    b.closeWidth, b.height,
                                b.gap,      b.rightMargin, b.topMargin,  b.maximizedTopOffset};
        for (int i = 0; i < 8; ++i) EXPECT_EQ(buttons[i], c.buttons[i]) << "caption button number " << i;
        EXPECT_EQ(artwork.captionIcon, c.icon);
    }
}

}  // namespace
}  // namespace velmora::app
