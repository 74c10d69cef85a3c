// The skinned frame's hit zones: which zone of the frame a client point lies
// in, the sizing cursor each zone shows, and what a left press on it starts.
#pragma once

#include <array>

#include "skin/frame_layout.h"
#include "skin/skin_geometry.h"
#include "skin/win32_values.h"

namespace velmora::skin {

struct HitZone {
    SkinRect rect;
    int code = 0;
};

// The zones of a client rectangle (L, T, R, B) in the order they are tried
// (3 and 20 are the metrics' edge grip and icon zone width at 96 DPI);
// the first one that contains the point wins, and a point in none of them is
// kHitClient. The first zone, the caption icon, is the first 20 pixels of the
// caption zone and counts only inside it:
//   (L + w3, T + 3, L + w3 + 20, T + h0)                      caption icon
//   (L + w3, T + 3, R - w3, T + h0)                           caption
//   (L, T, L + w3, T + h0), (L, T, L + h0, T + 3)             top left
//   (L + h0, T, R - h0, T + 3)                                top
//   (R - w4, T, R, T + h0), (R - h0, T, R, T + 3)             top right
//   (L, T + h0, L + min(w3, 3), B - h5)                       left
//   (R - min(w4, 3), T + h0, R, B - h5)                       right
//   (L, B - h5, L + h5, B)                                    bottom left
//   (L + h5, B - 3, R - h5, B)                                bottom
//   (R - h5, B - h5, R, B)                                    bottom right
// The caption zone is inset by the left border's width on both sides. Zones
// that come out empty (a tiny window) simply contain nothing.
std::array<HitZone, 12> FrameHitZones(SkinRect client, const FrameMetrics& metrics) noexcept;

// FrameHitTest: the hit code of a client point, kHitCaptionIcon, kHitCaption,
// kHitLeft ... kHitBottomRight or kHitClient.
int FrameHitTest(SkinRect client, SkinPoint point, const FrameMetrics& metrics) noexcept;

// The sizing cursor of a hit code: top and bottom kCursorSizeNs, top-left and
// bottom-right kCursorSizeNwse, top-right and bottom-left kCursorSizeNesw,
// left and right kCursorSizeWe; kNoCursor for every other code.
int SizingCursorFor(int hitCode) noexcept;
// WM_SETCURSOR shows a sizing cursor only when the window under the cursor is
// the dialog itself, it is not maximised and it is resizable; otherwise the
// default processing chooses the cursor.
bool ShowsSizingCursors(bool windowUnderCursorIsDialog, bool maximized, bool resizable) noexcept;

// What WM_LBUTTONDOWN does with the zone it hit.
enum class FramePressAction {
    kNone,         // bottom-right while maximised or minimised
    kBeginResize,  // BeginFrameResize(code): edges and corners
    kMoveWindow,   // caption or client: post WM_NCLBUTTONDOWN(HTCAPTION) and redraw
    kWindowMenu,   // caption icon: open the window menu from the icon
};
FramePressAction FramePressActionFor(int hitCode, bool maximizedOrMinimized) noexcept;

}  // namespace velmora::skin
