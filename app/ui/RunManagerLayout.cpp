#include "app/ui/RunManagerLayout.h"

#include <algorithm>

#include "skin/dpi_scale.h"

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

int FittingWidth(int designedAt96, int textWidth, int sidesAt96, int dpi) noexcept {
    return std::max(skin::ScaleForDpi(designedAt96, dpi), textWidth + skin::ScaleForDpi(sidesAt96, dpi));
}

RunManagerLayout LayOutRunManager(skin::SkinRect inner, int dpi) noexcept {
    return LayOutRunManager(inner, dpi, RunManagerTextWidths{});
}

RunManagerLayout LayOutRunManager(skin::SkinRect inner, int dpi, const RunManagerTextWidths& texts) noexcept {
    const int margin = skin::ScaleForDpi(kRunManagerMargin, dpi);
    const int buttonHeight = skin::ScaleForDpi(kRunManagerButtonHeight, dpi);
    const int gap = skin::ScaleForDpi(kRunManagerButtonGap, dpi);
    const int statusHeight = skin::ScaleForDpi(kRunManagerStatusHeight, dpi);
    RunManagerLayout layout;
    const int buttonTop = inner.bottom - margin - buttonHeight;
    int right = inner.right - margin;
    for (int i = kRunManagerButtonCount; i-- > 0;) {
        // Each end scaled on its own, as the button draws it.
        const int ends = 2 * skin::ScaleForDpi(kButtonTextSides, dpi);
        const int buttonWidth = FittingWidth(kRunManagerButtonWidth, texts.buttons[i] + ends, 0, dpi);
        layout.buttons[i] = skin::RectAt(right - buttonWidth, buttonTop, buttonWidth, buttonHeight);
        right -= buttonWidth + gap;
    }
    const int left = inner.left + margin;
    const int statusTop = buttonTop + (buttonHeight - statusHeight) / 2;
    layout.status = Clamped({left, statusTop, layout.buttons[0].left - margin, statusTop + statusHeight});
    const int rightEdge = inner.right - margin;
    const int filterTop = inner.top + margin;
    const int filterBottom = filterTop + skin::ScaleForDpi(kRunManagerFilterHeight, dpi);
    layout.filterLabel = Clamped(
        {left, filterTop,
         std::min(left + FittingWidth(kRunManagerFilterLabelWidth, texts.filterLabel, 4, dpi), rightEdge),
         filterBottom});
    layout.filter = Clamped({layout.filterLabel.right, filterTop, rightEdge, filterBottom});
    layout.list = Clamped(
        {left, filterBottom + skin::ScaleForDpi(kRunManagerFilterGap, dpi), rightEdge, buttonTop - margin});
    return layout;
}

int RunManagerScaled(int pixelsAt96, int dpi) noexcept { return skin::ScaleForDpi(pixelsAt96, dpi); }

int RunManagerRescaled(int pixels, int fromDpi, int toDpi) noexcept {
    if (fromDpi <= 0 || toDpi <= 0) return pixels;
    const long long scaled = static_cast<long long>(pixels) * toDpi;
    const long long half = fromDpi / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / fromDpi : -((-scaled + half) / fromDpi));
}

}  // namespace velmora::app
