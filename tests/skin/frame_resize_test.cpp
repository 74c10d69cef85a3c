#include "skin/frame_resize.h"

#include <gtest/gtest.h>

#include "skin/win32_values.h"
#include "tests/skin/shipped_skin.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

TEST(FrameResizeTest, EachModeMovesItsEdgesAndStopsAtTheMinimum) {
    const SkinRect start{100, 100, 455, 350};  // 355 x 250
    const SkinSize min{300, 250};
    struct Case {
        int mode, dx, dy;
        SkinRect rect;
    };
    const Case cases[] = {
        {kHitTopLeft, -10, -20, {90, 80, 455, 350}},
        {kHitTopLeft, 100, 50, {155, 100, 455, 350}},
        {kHitTop, 40, -5, {100, 95, 455, 350}},
        {kHitTop, 0, 30, {100, 100, 455, 350}},
        {kHitTopRight, 20, -5, {100, 95, 475, 350}},
        {kHitTopRight, -80, 10, {100, 100, 400, 350}},
        {kHitLeft, -7, 33, {93, 100, 455, 350}},
        {kHitLeft, 60, 0, {155, 100, 455, 350}},
        {kHitRight, 15, 0, {100, 100, 470, 350}},
        {kHitRight, -56, 0, {100, 100, 400, 350}},
        {kHitBottomLeft, -5, 5, {95, 100, 455, 355}},
        {kHitBottomLeft, 100, -100, {155, 100, 455, 350}},
        {kHitBottom, 9, 10, {100, 100, 455, 360}},
        {kHitBottom, 0, -1, {100, 100, 455, 350}},
        {kHitBottomRight, 1, 1, {100, 100, 456, 351}},
        {kHitBottomRight, -200, -200, {100, 100, 400, 350}},
        // Dragged far past the opposite edge: still the minimum, edges fixed.
        {kHitTopLeft, 1000, 1000, {155, 100, 455, 350}},
        {kHitBottomRight, -1000, -1000, {100, 100, 400, 350}},
        // Not a resize mode: nothing moves.
        {-1, 50, 50, {100, 100, 455, 350}},
        {kHitCaption, 50, 50, {100, 100, 455, 350}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResizedWindowRect(c.mode, start, c.dx, c.dy, min), c.rect)
            << "mode " << c.mode << " by " << c.dx << ", " << c.dy;
    }
    // A dimension that is not dragged keeps its size even below the minimum.
    EXPECT_EQ(ResizedWindowRect(kHitRight, {0, 0, 200, 100}, 0, 0, min), (SkinRect{0, 0, 300, 100}));
    EXPECT_EQ(ResizedWindowRect(kHitBottom, {0, 0, 200, 100}, 0, 0, min), (SkinRect{0, 0, 200, 250}));
}

TEST(FrameResizeTest, MaximisedGeometryPushesTheBordersOffTheWorkArea) {
    struct Case {
        SkinRect workArea;
        FrameMetrics metrics;
        SkinPoint position;
        SkinSize size;
    };
    const Case cases[] = {
        {{0, 0, 1920, 1040}, testing::ShippedMetrics(), {-3, -3}, {1926, 1046}},
        // Taskbar on the left, and on the top.
        {{60, 0, 1920, 1080}, testing::ShippedMetrics(), {57, -3}, {1866, 1086}},
        {{0, 40, 1280, 800}, testing::ShippedMetrics(), {-3, 37}, {1286, 766}},
        {{0, 0, 800, 600}, FrameMetrics{27, 5, 7, 9, 4}, {-5, -3}, {812, 607}},
        // At 150 %: the borders and 5 rows of the caption (the edge grip).
        {{0, 0, 1920, 1040}, FrameMetrics{41, 5, 5, 5, 5, 5, 30}, {-5, -5}, {1930, 1050}},
    };
    for (const Case& c : cases) {
        const MaximizedGeometry g = MaximizedGeometryOf(c.workArea, c.metrics);
        EXPECT_EQ(g.position, c.position) << c.workArea.left << ", " << c.workArea.top;
        EXPECT_EQ(g.size, c.size) << c.workArea.right << ", " << c.workArea.bottom;
    }
}

}  // namespace
}  // namespace velmora::skin
