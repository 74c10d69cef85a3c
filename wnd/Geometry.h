// Plain geometry of the window layer, free of any window: built and tested on
// every platform.
#pragma once

namespace velmora {

struct LayoutRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct LayoutPoint {
    int x;
    int y;
};

// Top-left corner that centres a width x height box in `area`. A box larger
// than the area is pinned to the area's left or top edge, so its top-left
// part (title bar, system menu) stays reachable.
LayoutPoint CenteredOrigin(const LayoutRect& area, int width, int height) noexcept;

}  // namespace velmora
