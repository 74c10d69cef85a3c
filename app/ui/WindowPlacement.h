// Where a tool window opens: wholly inside the work area of a monitor, at
// its DPI, centred on its owner or in the place the user left it. Plain
// arithmetic on screen rectangles; the window side asks the system for the
// monitors' work areas and moves the window.
#pragma once

#include <vector>

#include "skin/skin_geometry.h"

namespace velmora::app {

// `window` moved (and, only when it is larger than the area, made smaller)
// so that every edge lies inside `workArea`: the smallest move that does
// it. A window larger than the area takes the area's whole width or height.
// An empty work area leaves the window as it is.
skin::SkinRect FitIntoWorkArea(skin::SkinRect window, skin::SkinRect workArea) noexcept;

// A window of `size` centred on `owner` (its window rectangle) and fitted
// into `workArea`, the work area of the monitor the owner is on.
skin::SkinRect PlaceOnOwner(skin::SkinRect owner, skin::SkinSize size, skin::SkinRect workArea) noexcept;

// What the window remembers of itself between sessions. The size is kept at
// 96 DPI, so that it fits a monitor of another scale; the position is in
// screen pixels.
struct RememberedPlace {
    skin::SkinRect window;  // left/top in pixels; Width()/Height() at 96 DPI
    bool maximised = false;
};

// The remembered place at `dpi`: the size scaled, the window fitted into
// the work area (of those given) that holds the most of it. When none holds
// a part of it big enough to take hold of (the monitor it was on is gone),
// or the remembered size is empty, `fallback` (the centred place) instead.
skin::SkinRect PlaceRemembered(const RememberedPlace& remembered, int dpi,
                               const std::vector<skin::SkinRect>& workAreas,
                               skin::SkinRect fallback) noexcept;

// The size the user left at `dpi`, as it is remembered: at 96 DPI.
skin::SkinSize SizeAt96(skin::SkinSize size, int dpi) noexcept;

}  // namespace velmora::app
