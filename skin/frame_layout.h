// Geometry of CQebDialog's skinned frame: the metrics taken from the eight
// skin pieces, the four frame parts and how each is composed from the pieces,
// the inner rectangle, the caption text rectangle, the caption buttons'
// places and strip offsets, and where the window menu opens. All in client
// coordinates unless said otherwise; the frame has no non-client area.
#pragma once

#include <array>

#include "skin/skin_geometry.h"

namespace velmora::skin {

// Source rectangle of one frame piece in the frame skin.
struct FramePiece {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const FramePiece&, const FramePiece&) = default;
};

// The eight pieces: 0 caption left (1:1), 1 caption middle (stretched), 2
// caption right (1:1), 3 left border, 4 right border (both stretched), 5
// bottom left (1:1), 6 bottom middle (stretched), 7 bottom right (1:1).
struct FramePieces {
    std::array<FramePiece, 8> piece{};
    // SetFramePiece: stores piece `index` (0 to 7); any other index is ignored
    // and false returned.
    bool Set(int index, const FramePiece& rect) noexcept;
};

// The frame's sizes, derived from the pieces.
struct FrameMetrics {
    int captionHeight = 0;      // h0
    int leftWidth = 0;          // w3
    int rightWidth = 0;         // w4
    int bottomHeight = 0;       // h5: painting and hit-testing
    int bottomInnerHeight = 0;  // h7: inner rectangle and maximised geometry
    // Not from the pieces but from the window's DPI (3 and 20 at 96 DPI):
    int edgeGrip = 3;        // the top and bottom sizing strips, the widest
                             // side strip, the caption rows above the screen
                             // when maximised
    int iconZoneWidth = 20;  // the caption icon's press zone
    friend constexpr bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};
// The metrics of the pieces for a window at `dpi` (the grips scaled, the
// piece sizes as they are: the pieces are already drawn at the window's
// scale).
FrameMetrics FrameMetricsOf(const FramePieces& pieces, int dpi = 96) noexcept;

// The four painted parts, named by the hit code of their zone, in paint order.
enum class FramePart { kCaption = 2, kLeft = 10, kRight = 11, kBottom = 15 };
constexpr std::array<FramePart, 4> kFramePaintOrder = {FramePart::kCaption, FramePart::kLeft,
                                                       FramePart::kRight, FramePart::kBottom};

// A part's rectangle in the client rectangle R: caption (R.left, R.top,
// R.right, R.top + h0); left (R.left, R.top + h0, R.left + w3, R.bottom - h5);
// right (R.right - w4, R.top + h0, R.right, R.bottom - h5); bottom (R.left,
// R.bottom - h5, R.right, R.bottom). Empty when the window is too small for
// it; an empty part is not painted.
SkinRect FramePartRect(SkinRect client, FramePart part, const FrameMetrics& metrics) noexcept;

// How a part is composed in its own off-screen buffer (targets are in buffer
// coordinates, origin at the part's top-left; every copy SRCCOPY, none keyed),
// for a part of size `partSize` (W x H):
// caption: piece 0 at (0, 0) 1:1, piece 1 stretched to (w0, 0) with width
// W - w0 - w2 and height h0, piece 2 at (W - w2, 0) 1:1; left and right:
// piece 3 or 4 stretched over the whole buffer; bottom: piece 5 at (0, 0) 1:1,
// piece 6 stretched to (w5, 0) with width W - w5 - w7 and height h5, piece 7 at
// (W - w7, 0) 1:1. A stretched middle with no room (the window narrower than
// the two end pieces) is left out rather than drawn mirrored; pieces of zero
// size are left out. An empty part gives an empty plan.
BlitPlan PlanFramePart(FramePart part, SkinSize partSize, const FramePieces& pieces) noexcept;

// GetInnerRect: the client without the frame, (left + w3, top + h0,
// right - w4, bottom - h7).
SkinRect InnerRect(SkinRect client, const FrameMetrics& metrics) noexcept;

// SetCaptionButtonLayout's values; the defaults are the frame's initial ones.
struct CaptionButtonLayout {
    int minWidth = 16;
    int maxWidth = 16;
    int closeWidth = 16;
    int height = 16;
    int gap = 4;
    int rightMargin = 5;
    int topMargin = 4;
    int maximizedTopOffset = 0;
};

// The caption text's rectangle: (origin.x, origin.y, client.right - 2 x gap -
// rightMargin - closeWidth - maxWidth - minWidth - 5, h0). The maximise width
// is subtracted whether or not that button exists. Drawn DT_SINGLELINE |
// DT_END_ELLIPSIS, so a longer title ends with an ellipsis.
SkinRect CaptionTextRect(SkinRect client, SkinPoint origin, const CaptionButtonLayout& layout,
                         int captionHeight) noexcept;

// Places of the caption buttons, for creation (maximized false) and for every
// WM_SIZE. The client is shrunk by the right margin on both sides and by the
// top margin (plus the maximised top offset when maximized) at top and bottom;
// the close button ends at the shrunk right edge; the maximise button, when
// `hasMaximize`, ends one gap left of the close button; the minimise button
// ends one gap left of the maximise button, or of the close button without
// one. All are `height` high from the shrunk top. `maximize` is empty without
// the button.
struct CaptionButtonRects {
    SkinRect close;
    SkinRect maximize;
    SkinRect minimize;
};
CaptionButtonRects PlaceCaptionButtons(SkinRect client, const CaptionButtonLayout& layout, bool hasMaximize,
                                       bool maximized) noexcept;

// Where each button's three frames (normal, hover, pressed) start in the
// caption strip: minimise 0, maximise 3 x min, close 3 x (min + max), and the
// maximise button's restore images 3 x (min + max + close).
struct CaptionStripOffsets {
    int minimize = 0;
    int maximize = 0;
    int close = 0;
    int restore = 0;
};
CaptionStripOffsets CaptionStripOffsetsOf(const CaptionButtonLayout& layout) noexcept;
// The maximise button's offset: the restore images while maximised.
int MaximizeButtonImageOffset(const CaptionButtonLayout& layout, bool maximized) noexcept;
// The maximise button's tooltip: "还原" while maximised, else "最大化"
// (narrow text in the build's code page), in the current language.
const char* MaximizeButtonTipText(bool maximized) noexcept;

// Screen point where the window menu opens: (window left + w3, window top + h0).
SkinPoint WindowMenuPoint(SkinRect windowRect, const FrameMetrics& metrics) noexcept;

}  // namespace velmora::skin
