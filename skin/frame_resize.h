// Sizing of the skinned frame: the window rectangle while an edge or corner
// is dragged (polled from the resize timer), and the maximised geometry that
// pushes the borders off the work area.
#pragma once

#include "skin/frame_layout.h"
#include "skin/skin_geometry.h"
#include "skin/win32_values.h"

namespace velmora::skin {

// The window rectangle for resize mode `mode` (kHitLeft ... kHitBottomRight)
// after the cursor moved by (dx, dy) since the press that found `start`. The
// dragged edges move; the opposite edges stay fixed, and a dragged edge that
// would make the window narrower or lower than `minSize` stops there:
//   left edge   L = L0 + dx, at most R0 - min width
//   right edge  R = R0 + dx, at least L0 + min width
//   top edge    T = T0 + dy, at most B0 - min height
//   bottom edge B = B0 + dy, at least T0 + min height
// A dimension that is not dragged keeps its start value, even below the
// minimum. Any other mode gives `start` unchanged.
SkinRect ResizedWindowRect(int mode, SkinRect start, int dx, int dy, SkinSize minSize) noexcept;

// WM_GETMINMAXINFO: the maximised window for the work area WA, with the left
// border, 3 pixels of the caption (the edge grip, scaled with the DPI), the
// right and the bottom border outside it:
// position (WA.left - w3, WA.top - 3), size (WA.right + w4 - (WA.left - w3),
// WA.bottom + h7 - (WA.top - 3)).
struct MaximizedGeometry {
    SkinPoint position;
    SkinSize size;
};
MaximizedGeometry MaximizedGeometryOf(SkinRect workArea, const FrameMetrics& metrics) noexcept;

}  // namespace velmora::skin
