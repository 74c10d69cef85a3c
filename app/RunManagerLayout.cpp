#include "app/RunManagerLayout.h"

#include <algorithm>

namespace velmora::app {

namespace {

// The rectangle with its right and bottom pulled back to left and top where
// they would come before them.
skin::SkinRect Clamped(skin::SkinRect r) noexcept {
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

}  // namespace

RunManagerLayout LayOutRunManager(skin::SkinRect inner) noexcept {
    RunManagerLayout layout;
    const int buttonTop = inner.bottom - kRunManagerMargin - kRunManagerButtonHeight;
    int right = inner.right - kRunManagerMargin;
    for (int i = kRunManagerButtonCount; i-- > 0;) {
        layout.buttons[i] = skin::RectAt(right - kRunManagerButtonWidth, buttonTop, kRunManagerButtonWidth,
                                         kRunManagerButtonHeight);
        right -= kRunManagerButtonWidth + kRunManagerButtonGap;
    }
    const int left = inner.left + kRunManagerMargin;
    const int statusTop = buttonTop + (kRunManagerButtonHeight - kRunManagerStatusHeight) / 2;
    layout.status = Clamped(
        {left, statusTop, layout.buttons[0].left - kRunManagerMargin, statusTop + kRunManagerStatusHeight});
    const int rightEdge = inner.right - kRunManagerMargin;
    const int filterTop = inner.top + kRunManagerMargin;
    const int filterBottom = filterTop + kRunManagerFilterHeight;
    layout.filterLabel =
        Clamped({left, filterTop, std::min(left + kRunManagerFilterLabelWidth, rightEdge), filterBottom});
    layout.filter = Clamped({layout.filterLabel.right, filterTop, rightEdge, filterBottom});
    layout.list =
        Clamped({left, filterBottom + kRunManagerFilterGap, rightEdge, buttonTop - kRunManagerMargin});
    return layout;
}

}  // namespace velmora::app
