#include "skin/frame_hit_test.h"

#include <gtest/gtest.h>

#include "tests/skin/shipped_skin.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

using testing::kMainClient;
using testing::ShippedMetrics;

TEST(FrameHitTest, ZonesOfTheMainDialog) {
    const std::array<HitZone, 12> zones = FrameHitZones(kMainClient, ShippedMetrics());
    const HitZone expected[12] = {
        {{3, 3, 23, 27}, kHitCaptionIcon}, {{3, 3, 352, 27}, kHitCaption},
        {{0, 0, 3, 27}, kHitTopLeft},      {{0, 0, 27, 3}, kHitTopLeft},
        {{27, 0, 328, 3}, kHitTop},        {{352, 0, 355, 27}, kHitTopRight},
        {{328, 0, 355, 3}, kHitTopRight},  {{0, 27, 3, 247}, kHitLeft},
        {{352, 27, 355, 247}, kHitRight},  {{0, 247, 3, 250}, kHitBottomLeft},
        {{3, 247, 352, 250}, kHitBottom},  {{352, 247, 355, 250}, kHitBottomRight},
    };
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(zones[i].rect, expected[i].rect) << "zone " << i;
        EXPECT_EQ(zones[i].code, expected[i].code) << "zone " << i;
    }
}

TEST(FrameHitTest, ZonesOfTheMainDialogAt150Percent) {
    // The skin drawn at 150 % (caption 41, borders 5) on the 533 x 375 window
    // of 144 DPI: the grips are 5 pixels, the icon zone 30.
    const FrameMetrics metrics{41, 5, 5, 5, 5, 5, 30};
    const std::array<HitZone, 12> zones = FrameHitZones({0, 0, 533, 375}, metrics);
    const HitZone expected[12] = {
        {{5, 5, 35, 41}, kHitCaptionIcon}, {{5, 5, 528, 41}, kHitCaption},
        {{0, 0, 5, 41}, kHitTopLeft},      {{0, 0, 41, 5}, kHitTopLeft},
        {{41, 0, 492, 5}, kHitTop},        {{528, 0, 533, 41}, kHitTopRight},
        {{492, 0, 533, 5}, kHitTopRight},  {{0, 41, 5, 370}, kHitLeft},
        {{528, 41, 533, 370}, kHitRight},  {{0, 370, 5, 375}, kHitBottomLeft},
        {{5, 370, 528, 375}, kHitBottom},  {{528, 370, 533, 375}, kHitBottomRight},
    };
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(zones[i].rect, expected[i].rect) << "zone " << i;
        EXPECT_EQ(zones[i].code, expected[i].code) << "zone " << i;
    }
    EXPECT_EQ(FrameHitTest({0, 0, 533, 375}, {34, 40}, metrics), kHitCaptionIcon);
    EXPECT_EQ(FrameHitTest({0, 0, 533, 375}, {35, 40}, metrics), kHitCaption);
    EXPECT_EQ(FrameHitTest({0, 0, 533, 375}, {200, 4}, metrics), kHitTop);
}

TEST(FrameHitTest, PointsOfTheMainDialog) {
    struct Case {
        SkinPoint point;
        int code;
    };
    const Case cases[] = {
        // Caption icon and caption: left and top edges in, right and bottom out.
        {{3, 3}, kHitCaptionIcon},
        {{22, 26}, kHitCaptionIcon},
        {{23, 3}, kHitCaption},
        {{22, 27}, kHitClient},
        {{351, 26}, kHitCaption},
        {{200, 10}, kHitCaption},
        // Top-left: the border column and the first 27 pixels of the top edge.
        {{0, 0}, kHitTopLeft},
        {{2, 26}, kHitTopLeft},
        {{2, 3}, kHitTopLeft},
        {{3, 2}, kHitTopLeft},
        {{26, 2}, kHitTopLeft},
        {{27, 0}, kHitTop},
        {{327, 2}, kHitTop},
        {{100, 3}, kHitCaption},
        {{328, 0}, kHitTopRight},
        {{351, 2}, kHitTopRight},
        {{352, 26}, kHitTopRight},
        {{354, 0}, kHitTopRight},
        {{0, 27}, kHitLeft},
        {{2, 246}, kHitLeft},
        {{3, 27}, kHitClient},
        {{352, 27}, kHitRight},
        {{354, 246}, kHitRight},
        {{351, 246}, kHitClient},
        {{0, 247}, kHitBottomLeft},
        {{2, 249}, kHitBottomLeft},
        {{3, 247}, kHitBottom},
        {{351, 249}, kHitBottom},
        {{200, 246}, kHitClient},
        {{352, 247}, kHitBottomRight},
        {{354, 249}, kHitBottomRight},
        {{177, 125}, kHitClient},
        {{355, 100}, kHitClient},
        {{-1, 100}, kHitClient},
        {{100, 250}, kHitClient},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameHitTest(kMainClient, c.point, ShippedMetrics()), c.code)
            << c.point.x << ", " << c.point.y;
    }
}

TEST(FrameHitTest, OtherSkinsAndSizes) {
    // Wider borders: the side zones stay 3 pixels wide; the caption zone is
    // inset by the left border on both sides.
    const FrameMetrics wide{30, 6, 8, 10, 4};
    const SkinRect client{0, 0, 400, 300};
    struct Case {
        SkinRect client;
        FrameMetrics metrics;
        SkinPoint point;
        int code;
    };
    const Case cases[] = {
        {client, wide, {6, 3}, kHitCaptionIcon},
        {client, wide, {26, 3}, kHitCaption},
        {client, wide, {393, 29}, kHitCaption},
        {client, wide, {394, 29}, kHitTopRight},
        {client, wide, {5, 29}, kHitTopLeft},
        {client, wide, {2, 100}, kHitLeft},
        {client, wide, {3, 100}, kHitClient},
        {client, wide, {397, 100}, kHitRight},
        {client, wide, {396, 100}, kHitClient},
        {client, wide, {9, 290}, kHitBottomLeft},
        {client, wide, {10, 297}, kHitBottom},
        {client, wide, {10, 296}, kHitClient},
        {client, wide, {390, 290}, kHitBottomRight},
        // A caption narrower than the icon's 20 pixels: the icon ends with it.
        {{0, 0, 20, 100}, ShippedMetrics(), {16, 10}, kHitCaptionIcon},
        {{0, 0, 20, 100}, ShippedMetrics(), {17, 10}, kHitTopRight},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FrameHitTest(c.client, c.point, c.metrics), c.code) << c.point.x << ", " << c.point.y;
    }
}

TEST(FrameHitTest, SizingCursorsAndPressActions) {
    struct Case {
        int code;
        int cursor;
        FramePressAction normal, maximized;
    };
    using A = FramePressAction;
    const Case cases[] = {
        {kHitClient, kNoCursor, A::kMoveWindow, A::kMoveWindow},
        {kHitCaption, kNoCursor, A::kMoveWindow, A::kMoveWindow},
        {kHitLeft, kCursorSizeWe, A::kBeginResize, A::kBeginResize},
        {kHitRight, kCursorSizeWe, A::kBeginResize, A::kBeginResize},
        {kHitTop, kCursorSizeNs, A::kBeginResize, A::kBeginResize},
        {kHitTopLeft, kCursorSizeNwse, A::kBeginResize, A::kBeginResize},
        {kHitTopRight, kCursorSizeNesw, A::kBeginResize, A::kBeginResize},
        {kHitBottom, kCursorSizeNs, A::kBeginResize, A::kBeginResize},
        {kHitBottomLeft, kCursorSizeNesw, A::kBeginResize, A::kBeginResize},
        {kHitBottomRight, kCursorSizeNwse, A::kBeginResize, A::kNone},
        {kHitCaptionIcon, kNoCursor, A::kWindowMenu, A::kWindowMenu},
        {kHitTransparent, kNoCursor, A::kNone, A::kNone},
        {0, kNoCursor, A::kNone, A::kNone},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SizingCursorFor(c.code), c.cursor) << c.code;
        EXPECT_EQ(FramePressActionFor(c.code, false), c.normal) << c.code;
        EXPECT_EQ(FramePressActionFor(c.code, true), c.maximized) << c.code;
    }
    EXPECT_TRUE(ShowsSizingCursors(true, false, true));
    EXPECT_FALSE(ShowsSizingCursors(true, false, false));  // not resizable
    EXPECT_FALSE(ShowsSizingCursors(true, true, true));    // maximised
    EXPECT_FALSE(ShowsSizingCursors(false, false, true));  // over a child control
}

}  // namespace
}  // namespace velmora::skin
