#include "skin/button_looks.h"

#include <algorithm>

#include "skin/dpi_scale.h"

namespace velmora::skin {

ButtonLook ChooseLook(bool pressed, bool hover) noexcept {
    if (!hover) {
        return ButtonLook::kNormal;
    }
    return pressed ? ButtonLook::kPressed : ButtonLook::kHover;
}

int SkinButtonSourceX(int imageOffset, int width, ButtonLook look) noexcept {
    return imageOffset + static_cast<int>(look) * width;
}

StripFrames StripFramesOf(int stripWidth) noexcept {
    const int frame = stripWidth / 4;
    if (frame <= 0) {
        return {};
    }
    // For a frame of 1 pixel (f - 2) / 2 truncates to 0, so no frame gets
    // negative caps.
    const int cap = (frame - 2) / 2;
    return {frame, cap, frame - 2 * cap};
}

BlitPlan PlanStripLook(int stripWidth, int stripHeight, int width, int height, ButtonLook look) noexcept {
    BlitPlan plan;
    const StripFrames frames = StripFramesOf(stripWidth);
    if (!frames.IsUsable() || stripHeight <= 0 || width <= 0 || height <= 0) {
        return plan;
    }
    const int rows = std::min(height, stripHeight);
    const int x0 = static_cast<int>(look) * frames.frame;
    const int c = frames.cap;
    auto add = [&plan](SkinRect source, SkinRect target, bool keyed) {
        if (!source.IsEmpty() && !target.IsEmpty()) {
            plan.steps[plan.count++] = {source, target, keyed};
        }
    };
    add(RectAt(x0, 0, c, rows), RectAt(0, 0, c, rows), true);
    add(RectAt(x0 + c, 0, frames.middle, rows), {c, 0, width - c, rows}, false);
    add(RectAt(x0 + frames.frame - c, 0, c, rows), RectAt(width - c, 0, c, rows), true);
    return plan;
}

SkinRect FitToStrip(SkinRect window, int stripWidth, int stripHeight) noexcept {
    const StripFrames frames = StripFramesOf(stripWidth);
    if (!frames.IsUsable() || stripHeight <= 0) {
        return window;
    }
    return RectAt(window.left, window.top, std::max(window.Width(), frames.frame), stripHeight);
}

bool NeedsFitToStrip(SkinSize size, int stripWidth, int stripHeight) noexcept {
    const StripFrames frames = StripFramesOf(stripWidth);
    if (!frames.IsUsable() || stripHeight <= 0) {
        return false;
    }
    return size.cx < frames.frame || size.cy != stripHeight;
}

int StaticIconTop(int clientHeight, int iconHeight) noexcept {
    return std::max(0, (clientHeight - iconHeight) / 2);
}

SkinRect StaticTextRect(SkinRect client, bool hasIcon, int iconWidth, int dpi) noexcept {
    if (hasIcon) {
        client.left += iconWidth + ScaleForDpi(3, dpi);
    }
    return client;
}

SkinRect TextButtonTextRect(SkinRect client, ButtonLook look, int dpi) noexcept {
    SkinRect text = client;
    text.top += (client.Height() - ScaleForDpi(12, dpi)) / 2;
    if (look == ButtonLook::kPressed) {
        const int shift = ScaleForDpi(1, dpi);
        text.left += shift;
        text.right += shift;
        text.top += shift;
    }
    return text;
}

SkinRect BitmapButtonTextRect(SkinRect client, ButtonLook look, int dpi) noexcept {
    if (look == ButtonLook::kPressed) {
        client.top += ScaleForDpi(2, dpi);
        client.left += ScaleForDpi(1, dpi);
    }
    return client;
}

Colour TextButtonColour(bool pressed, bool hover, Colour normal, Colour hoverColour) noexcept {
    return (pressed || hover) ? hoverColour : normal;
}

bool IsUnderlined(std::uint32_t underlineStates, ButtonLook look) noexcept {
    return (underlineStates >> static_cast<int>(look)) & 1u;
}

int TransButtonCursor(TransButtonMode mode, bool hasBitmapImage) noexcept {
    switch (mode) {
        case TransButtonMode::kTextButton:
            return kCursorHand;
        case TransButtonMode::kBitmap:
            return hasBitmapImage ? kCursorArrow : kCursorHand;
        case TransButtonMode::kStatic:
            break;
    }
    return kCursorArrow;
}

bool TransButtonIsMouseTransparent(TransButtonMode mode) noexcept { return mode == TransButtonMode::kStatic; }

}  // namespace velmora::skin
