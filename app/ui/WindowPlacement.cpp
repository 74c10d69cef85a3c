#include "app/ui/WindowPlacement.h"

#include <algorithm>

#include "skin/dpi_scale.h"

namespace velmora::app {

namespace {

// The start of a span of `length` inside [low, high): moved in as little as
// possible; a span longer than the room starts at `low`.
int FitSpan(int start, int length, int low, int high) noexcept {
    if (length >= high - low) return low;
    return std::clamp(start, low, high - length);
}

// The pixels the two rectangles share.
long long SharedArea(const skin::SkinRect& a, const skin::SkinRect& b) noexcept {
    const long long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// The least of a remembered window a work area must hold to be its home: a
// strip of the caption wide enough to drag it by.
constexpr int kGraspWidth = 100;
constexpr int kGraspHeight = 20;

}  // namespace

skin::SkinRect FitIntoWorkArea(skin::SkinRect window, skin::SkinRect workArea) noexcept {
    if (workArea.IsEmpty()) return window;
    const int width = std::min(window.Width(), workArea.Width());
    const int height = std::min(window.Height(), workArea.Height());
    const int left = FitSpan(window.left, width, workArea.left, workArea.right);
    const int top = FitSpan(window.top, height, workArea.top, workArea.bottom);
    return skin::RectAt(left, top, width, height);
}

skin::SkinRect PlaceOnOwner(skin::SkinRect owner, skin::SkinSize size, skin::SkinRect workArea) noexcept {
    const int left = owner.left + (owner.Width() - size.cx) / 2;
    const int top = owner.top + (owner.Height() - size.cy) / 2;
    return FitIntoWorkArea(skin::RectAt(left, top, size.cx, size.cy), workArea);
}

skin::SkinRect PlaceRemembered(const RememberedPlace& remembered, int dpi,
                               const std::vector<skin::SkinRect>& workAreas,
                               skin::SkinRect fallback) noexcept {
    if (remembered.window.IsEmpty()) return fallback;
    const skin::SkinRect window = skin::RectAt(remembered.window.left, remembered.window.top,
                                               skin::ScaleForDpi(remembered.window.Width(), dpi),
                                               skin::ScaleForDpi(remembered.window.Height(), dpi));
    const int graspWidth = std::min(skin::ScaleForDpi(kGraspWidth, dpi), window.Width());
    const skin::SkinRect caption{
        window.left, window.top, window.right,
        window.top + std::min(skin::ScaleForDpi(kGraspHeight, dpi), window.Height())};
    const skin::SkinRect* home = nullptr;
    long long homeShare = 0;
    for (const skin::SkinRect& area : workAreas) {
        // Enough of the caption on this monitor to take hold of it.
        const int shownWidth = std::min(caption.right, area.right) - std::max(caption.left, area.left);
        const int shownHeight = std::min(caption.bottom, area.bottom) - std::max(caption.top, area.top);
        if (shownWidth < graspWidth || shownHeight <= 0) continue;
        const long long share = SharedArea(window, area);
        if (home == nullptr || share > homeShare) {
            home = &area;
            homeShare = share;
        }
    }
    return home != nullptr ? FitIntoWorkArea(window, *home) : fallback;
}

skin::SkinSize SizeAt96(skin::SkinSize size, int dpi) noexcept {
    if (dpi <= 0) return size;
    const auto unscale = [dpi](int value) {
        const long long scaled = static_cast<long long>(value) * skin::kBaseDpi;
        return static_cast<int>((scaled + dpi / 2) / dpi);
    };
    return {unscale(size.cx), unscale(size.cy)};
}

}  // namespace velmora::app
