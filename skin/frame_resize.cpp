#include "skin/frame_resize.h"

#include "skin/win32_values.h"

namespace velmora::skin {

namespace {

struct DraggedEdges {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;
};

DraggedEdges EdgesOf(int mode) noexcept {
    switch (mode) {
        case kHitTopLeft:
            return {true, true, false, false};
        case kHitTop:
            return {false, true, false, false};
        case kHitTopRight:
            return {false, true, true, false};
        case kHitLeft:
            return {true, false, false, false};
        case kHitRight:
            return {false, false, true, false};
        case kHitBottomLeft:
            return {true, false, false, true};
        case kHitBottom:
            return {false, false, false, true};
        case kHitBottomRight:
            return {false, false, true, true};
        default:
            return {};
    }
}

}  // namespace

SkinRect ResizedWindowRect(int mode, SkinRect start, int dx, int dy, SkinSize minSize) noexcept {
    const DraggedEdges edges = EdgesOf(mode);
    SkinRect r = start;
    if (edges.left) {
        r.left = start.left + dx;
        if (r.Width() < minSize.cx) r.left = r.right - minSize.cx;
    }
    if (edges.right) {
        r.right = start.right + dx;
        if (r.Width() < minSize.cx) r.right = r.left + minSize.cx;
    }
    if (edges.top) {
        r.top = start.top + dy;
        if (r.Height() < minSize.cy) r.top = r.bottom - minSize.cy;
    }
    if (edges.bottom) {
        r.bottom = start.bottom + dy;
        if (r.Height() < minSize.cy) r.bottom = r.top + minSize.cy;
    }
    return r;
}

MaximizedGeometry MaximizedGeometryOf(SkinRect workArea, const FrameMetrics& m) noexcept {
    const SkinPoint position{workArea.left - m.leftWidth, workArea.top - m.edgeGrip};
    return {position,
            {workArea.right + m.rightWidth - position.x, workArea.bottom + m.bottomInnerHeight - position.y}};
}

}  // namespace velmora::skin
