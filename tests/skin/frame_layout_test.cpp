#include "skin/frame_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/skin/shipped_skin.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

using testing::kMainClient;
using testing::ShippedLayout;
using testing::ShippedMetrics;
using testing::ShippedPieces;

TEST(FrameLayoutTest, MetricsFromThePieces) {
    EXPECT_EQ(ShippedMetrics(), (FrameMetrics{27, 3, 3, 3, 3}));
    FramePieces pieces = ShippedPieces();
    // Only pieces 0 to 7 exist.
    EXPECT_FALSE(pieces.Set(8, {1, 1, 1, 1}));
    EXPECT_FALSE(pieces.Set(-1, {1, 1, 1, 1}));
    EXPECT_EQ(FrameMetricsOf(pieces), ShippedMetrics());
    // h5 paints and hit-tests the bottom, h7 sizes the inner rectangle.
    EXPECT_TRUE(pieces.Set(0, {0, 0, 10, 30}));
    EXPECT_TRUE(pieces.Set(3, {0, 0, 4, 1}));
    EXPECT_TRUE(pieces.Set(4, {0, 0, 6, 1}));
    EXPECT_TRUE(pieces.Set(5, {0, 0, 1, 8}));
    EXPECT_TRUE(pieces.Set(7, {0, 0, 1, 2}));
    EXPECT_EQ(FrameMetricsOf(pieces), (FrameMetrics{30, 4, 6, 8, 2}));
}

TEST(FrameLayoutTest, GripsFollowTheWindowsDpiAndThePiecesStayAsDrawn) {
    struct Case {
        int dpi;
        int edgeGrip;
        int iconZoneWidth;
    };
    const Case cases[] = {{96, 3, 20}, {120, 4, 25}, {144, 5, 30}, {168, 5, 35}, {192, 6, 40}, {240, 8, 50}};
    for (const Case& c : cases) {
        const FrameMetrics metrics = FrameMetricsOf(ShippedPieces(), c.dpi);
        EXPECT_EQ(metrics, (FrameMetrics{27, 3, 3, 3, 3, c.edgeGrip, c.iconZoneWidth})) << c.dpi;
    }
}

TEST(FrameLayoutTest, PartRectanglesAndInnerRectangle) {
    const FrameMetrics m = ShippedMetrics();
    struct Case {
        SkinRect client;
        FramePart part;
        SkinRect rect;
    };
    const Case cases[] = {
        {kMainClient, FramePart::kCaption, {0, 0, 355, 27}},
        {kMainClient, FramePart::kLeft, {0, 27, 3, 247}},
        {kMainClient, FramePart::kRight, {352, 27, 355, 247}},
        {kMainClient, FramePart::kBottom, {0, 247, 355, 250}},
        {{0, 0, 1926, 1046}, FramePart::kRight, {1923, 27, 1926, 1043}},
        // A window lower than caption and bottom together has no side parts.
        {{0, 0, 100, 20}, FramePart::kLeft, {0, 27, 3, 17}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FramePartRect(c.client, c.part, m), c.rect) << static_cast<int>(c.part);
    }
    EXPECT_TRUE(FramePartRect({0, 0, 100, 20}, FramePart::kLeft, m).IsEmpty());
    EXPECT_EQ(InnerRect(kMainClient, m), (SkinRect{3, 27, 352, 247}));
    EXPECT_EQ(InnerRect({0, 0, 300, 250}, FrameMetrics{30, 4, 6, 8, 2}), (SkinRect{4, 30, 294, 248}));
}

TEST(FrameLayoutTest, EachPartComposedFromItsPieces) {
    const FramePieces pieces = ShippedPieces();
    struct Case {
        const char* what;
        FramePart part;
        SkinSize size;
        std::vector<BlitStep> steps;
    };
    const Case cases[] = {
        {"caption, 355 wide",
         FramePart::kCaption,
         {355, 27},
         {{{0, 0, 165, 27}, {0, 0, 165, 27}},
          {{165, 0, 168, 27}, {165, 0, 200, 27}},
          {{168, 0, 323, 27}, {200, 0, 355, 27}}}},
        {"caption as wide as the skin",
         FramePart::kCaption,
         {323, 27},
         {{{0, 0, 165, 27}, {0, 0, 165, 27}},
          {{165, 0, 168, 27}, {165, 0, 168, 27}},
          {{168, 0, 323, 27}, {168, 0, 323, 27}}}},
        {"caption narrower than its end pieces: no mirrored middle",
         FramePart::kCaption,
         {300, 27},
         {{{0, 0, 165, 27}, {0, 0, 165, 27}}, {{168, 0, 323, 27}, {145, 0, 300, 27}}}},
        {"left border", FramePart::kLeft, {3, 220}, {{{0, 30, 3, 40}, {0, 0, 3, 220}}}},
        {"right border", FramePart::kRight, {3, 220}, {{{320, 30, 323, 40}, {0, 0, 3, 220}}}},
        {"bottom, 355 wide",
         FramePart::kBottom,
         {355, 3},
         {{{0, 50, 8, 53}, {0, 0, 8, 3}},
          {{8, 50, 13, 53}, {8, 0, 343, 3}},
          {{311, 50, 323, 53}, {343, 0, 355, 3}}}},
        {"empty part", FramePart::kLeft, {3, -10}, {}},
        {"zero-width part", FramePart::kBottom, {0, 3}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BlitPlan plan = PlanFramePart(c.part, c.size, pieces);
        ASSERT_EQ(plan.count, static_cast<int>(c.steps.size()));
        for (int i = 0; i < plan.count; ++i) {
            EXPECT_EQ(plan.steps[i], c.steps[static_cast<std::size_t>(i)]) << "step " << i;
        }
    }
    // Pieces never set (all zero) draw nothing.
    EXPECT_EQ(PlanFramePart(FramePart::kCaption, {355, 27}, FramePieces{}).count, 0);
}

TEST(FrameLayoutTest, CaptionTextRectangle) {
    const CaptionButtonLayout initial;  // 16, 16, 16 wide, gap 4, right margin 5
    struct Case {
        SkinRect client;
        SkinPoint origin;
        CaptionButtonLayout layout;
        int captionHeight;
        SkinRect rect;
    };
    const Case cases[] = {
        {kMainClient, {35, 8}, ShippedLayout(), 27, {35, 8, 251, 27}},
        {{0, 0, 500, 250}, {35, 8}, ShippedLayout(), 27, {35, 8, 396, 27}},
        {kMainClient, {5, 3}, initial, 27, {5, 3, 289, 27}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CaptionTextRect(c.client, c.origin, c.layout, c.captionHeight), c.rect) << c.client.right;
    }
}

TEST(FrameLayoutTest, CaptionButtonPlaces) {
    const CaptionButtonLayout initial;
    struct Case {
        const char* what;
        SkinRect client;
        CaptionButtonLayout layout;
        bool hasMaximize, maximized;
        CaptionButtonRects rects;
    };
    const Case cases[] = {
        {"main dialog",
         kMainClient,
         ShippedLayout(),
         false,
         false,
         {{306, 0, 348, 18}, {}, {281, 0, 306, 18}}},
        {"main dialog maximised: one pixel lower",
         {0, 0, 1926, 1046},
         ShippedLayout(),
         false,
         true,
         {{1877, 1, 1919, 19}, {}, {1852, 1, 1877, 19}}},
        {"with a maximise button",
         kMainClient,
         ShippedLayout(),
         true,
         false,
         {{306, 0, 348, 18}, {281, 0, 306, 18}, {256, 0, 281, 18}}},
        {"with a maximise button, maximised",
         kMainClient,
         ShippedLayout(),
         true,
         true,
         {{306, 1, 348, 19}, {281, 1, 306, 19}, {256, 1, 281, 19}}},
        {"initial layout: gaps and margins",
         {0, 0, 400, 300},
         initial,
         true,
         false,
         {{379, 4, 395, 20}, {359, 4, 375, 20}, {339, 4, 355, 20}}},
        {"initial layout without maximise",
         {0, 0, 400, 300},
         initial,
         false,
         false,
         {{379, 4, 395, 20}, {}, {359, 4, 375, 20}}},
        {"offset applies only while maximised",
         kMainClient,
         {25, 25, 42, 18, 2, 7, 3, 5},
         true,
         false,
         {{306, 3, 348, 21}, {279, 3, 304, 21}, {252, 3, 277, 21}}},
        {"offset while maximised",
         kMainClient,
         {25, 25, 42, 18, 2, 7, 3, 5},
         true,
         true,
         {{306, 8, 348, 26}, {279, 8, 304, 26}, {252, 8, 277, 26}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CaptionButtonRects r = PlaceCaptionButtons(c.client, c.layout, c.hasMaximize, c.maximized);
        EXPECT_EQ(r.close, c.rects.close);
        EXPECT_EQ(r.maximize, c.rects.maximize);
        EXPECT_EQ(r.minimize, c.rects.minimize);
    }
}

TEST(FrameLayoutTest, CaptionStripOffsetsAndRestoreImages) {
    const CaptionStripOffsets shipped = CaptionStripOffsetsOf(ShippedLayout());
    EXPECT_EQ(shipped.minimize, 0);
    EXPECT_EQ(shipped.maximize, 75);
    EXPECT_EQ(shipped.close, 150);
    EXPECT_EQ(shipped.restore, 276);
    EXPECT_EQ(shipped.restore + 3 * 25, 351);  // the strip's width
    EXPECT_EQ(MaximizeButtonImageOffset(ShippedLayout(), false), 75);
    EXPECT_EQ(MaximizeButtonImageOffset(ShippedLayout(), true), 276);
    const CaptionStripOffsets initial = CaptionStripOffsetsOf(CaptionButtonLayout{});
    EXPECT_EQ(initial.maximize, 48);
    EXPECT_EQ(initial.close, 96);
    EXPECT_EQ(initial.restore, 144);
    EXPECT_STREQ(MaximizeButtonTipText(true), "还原");
    EXPECT_STREQ(MaximizeButtonTipText(false), "最大化");
}

TEST(FrameLayoutTest, WindowMenuOpensBelowTheCaptionsLeftBorder) {
    EXPECT_EQ(WindowMenuPoint({100, 200, 455, 450}, ShippedMetrics()), (SkinPoint{103, 227}));
    EXPECT_EQ(WindowMenuPoint({-3, -3, 1923, 1043}, ShippedMetrics()), (SkinPoint{0, 24}));
}

}  // namespace
}  // namespace velmora::skin
