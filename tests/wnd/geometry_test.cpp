#include "wnd/Geometry.h"

#include <gtest/gtest.h>

#include <climits>

using velmora::CenteredOrigin;
using velmora::LayoutPoint;
using velmora::LayoutRect;

namespace {

struct CentreCase {
    LayoutRect area;
    int width;
    int height;
    LayoutPoint expected;
};

TEST(CenteredOriginTest, CentresAndPinsToTheArea) {
    const CentreCase cases[] = {
        // The main window on a 1280 x 800 work area.
        {{0, 0, 1280, 800}, 355, 250, {462, 275}},
        // Odd leftovers round towards the area's start.
        {{0, 0, 101, 101}, 10, 10, {45, 45}},
        // An area that does not start at the origin (second monitor, taskbar on top).
        {{-1920, 40, 0, 1080}, 400, 300, {-1160, 410}},
        // Exactly the area's size.
        {{10, 20, 110, 220}, 100, 200, {10, 20}},
        // Larger than the area: pinned to the left and top edges.
        {{0, 0, 300, 200}, 355, 250, {0, 0}},
        {{50, 60, 300, 200}, 400, 100, {50, 80}},
    };
    for (const CentreCase& c : cases) {
        const LayoutPoint origin = CenteredOrigin(c.area, c.width, c.height);
        EXPECT_EQ(origin.x, c.expected.x) << c.area.left << "," << c.area.top << " " << c.width;
        EXPECT_EQ(origin.y, c.expected.y) << c.area.left << "," << c.area.top << " " << c.height;
    }
}

TEST(CenteredOriginTest, ExtremeCoordinatesDoNotOverflow) {
    const LayoutPoint origin = CenteredOrigin({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 2, 2);
    EXPECT_EQ(origin.x, -2);
    EXPECT_EQ(origin.y, -2);
}

}  // namespace
