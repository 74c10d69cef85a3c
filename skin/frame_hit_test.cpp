#include "skin/frame_hit_test.h"

#include <algorithm>

#include "skin/win32_values.h"

namespace velmora::skin {

std::array<HitZone, 12> FrameHitZones(SkinRect client, const FrameMetrics& m) noexcept {
    const int L = client.left, T = client.top, R = client.right, B = client.bottom;
    const int h0 = m.captionHeight, w3 = m.leftWidth, w4 = m.rightWidth, h5 = m.bottomHeight;
    const int g = m.edgeGrip, icon = m.iconZoneWidth;
    return {{
        {{L + w3, T + g, L + w3 + icon, T + h0}, kHitCaptionIcon},
        {{L + w3, T + g, R - w3, T + h0}, kHitCaption},
        {{L, T, L + w3, T + h0}, kHitTopLeft},
        {{L, T, L + h0, T + g}, kHitTopLeft},
        {{L + h0, T, R - h0, T + g}, kHitTop},
        {{R - w4, T, R, T + h0}, kHitTopRight},
        {{R - h0, T, R, T + g}, kHitTopRight},
        {{L, T + h0, L + std::min(w3, g), B - h5}, kHitLeft},
        {{R - std::min(w4, g), T + h0, R, B - h5}, kHitRight},
        {{L, B - h5, L + h5, B}, kHitBottomLeft},
        {{L + h5, B - g, R - h5, B}, kHitBottom},
        {{R - h5, B - h5, R, B}, kHitBottomRight},
    }};
}

int FrameHitTest(SkinRect client, SkinPoint point, const FrameMetrics& metrics) noexcept {
    const std::array<HitZone, 12> zones = FrameHitZones(client, metrics);
    // The icon's 20 pixels are only part of the caption zone: a caption
    // narrower than them must not let the icon reach past it.
    if (zones[0].rect.Contains(point) && zones[1].rect.Contains(point)) {
        return kHitCaptionIcon;
    }
    for (std::size_t i = 1; i < zones.size(); ++i) {
        if (zones[i].rect.Contains(point)) {
            return zones[i].code;
        }
    }
    return kHitClient;
}

int SizingCursorFor(int hitCode) noexcept {
    switch (hitCode) {
        case kHitTop:
        case kHitBottom:
            return kCursorSizeNs;
        case kHitTopLeft:
        case kHitBottomRight:
            return kCursorSizeNwse;
        case kHitTopRight:
        case kHitBottomLeft:
            return kCursorSizeNesw;
        case kHitLeft:
        case kHitRight:
            return kCursorSizeWe;
        default:
            return kNoCursor;
    }
}

bool ShowsSizingCursors(bool windowUnderCursorIsDialog, bool maximized, bool resizable) noexcept {
    return windowUnderCursorIsDialog && !maximized && resizable;
}

FramePressAction FramePressActionFor(int hitCode, bool maximizedOrMinimized) noexcept {
    if (hitCode >= kHitLeft && hitCode <= kHitBottomLeft) {
        return FramePressAction::kBeginResize;
    }
    switch (hitCode) {
        case kHitBottomRight:
            return maximizedOrMinimized ? FramePressAction::kNone : FramePressAction::kBeginResize;
        case kHitClient:
        case kHitCaption:
            return FramePressAction::kMoveWindow;
        case kHitCaptionIcon:
            return FramePressAction::kWindowMenu;
        default:
            return FramePressAction::kNone;
    }
}

}  // namespace velmora::skin
