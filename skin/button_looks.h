// What the two skin button classes draw: CQebButton (a three-frame strip
// button, the frame's caption buttons) and CQebTransButton (static label,
// text button or four-frame bitmap button). Plain arithmetic on the button's
// client size and its strip; the window classes only act on the answers.
#pragma once

#include <cstdint>

#include "skin/skin_geometry.h"
#include "skin/win32_values.h"

namespace velmora::skin {

// The look a button shows; also the index of its frame in the strip.
enum class ButtonLook { kNormal = 0, kHover = 1, kPressed = 2 };

// Both classes: the pressed look only when pressed and hover are both set,
// the hover look when hover is set alone, the normal look otherwise (pressed
// without hover looks normal).
ButtonLook ChooseLook(bool pressed, bool hover) noexcept;

// CQebButton: x of the look's frame in the caption strip, for a button of
// client width `width` whose normal frame starts at `imageOffset`: offset,
// offset + width, offset + 2 x width.
int SkinButtonSourceX(int imageOffset, int width, ButtonLook look) noexcept;

// CQebTransButton's four-frame strip of width W: frame f = W / 4, cap
// c = (f - 2) / 2, middle m = f - 2c, divisions truncating toward zero. A strip
// narrower than 4 pixels (or of negative width) has no usable frame: all three
// are 0. A frame of 1 or 2 pixels has no caps (c = 0) and is all middle.
struct StripFrames {
    int frame = 0;
    int cap = 0;
    int middle = 0;
    constexpr bool IsUsable() const noexcept { return frame > 0; }
    friend constexpr bool operator==(const StripFrames&, const StripFrames&) = default;
};
StripFrames StripFramesOf(int stripWidth) noexcept;

// CQebTransButton, bitmap mode: how a look's frame of a W x H strip is drawn
// on a w x h button, in order: the left cap (c columns at x0 = look x f,
// colour-keyed) to (0, 0); the middle (m columns at x0 + c, opaque) stretched
// from x = c to x = w - c; the right cap (c columns at x0 + f - c,
// colour-keyed) to (w - c, 0). Only the strip's top rows are used: source and
// target are min(h, H) rows high, so nothing is read below the strip. Steps
// that would cover nothing are left out (caps of width 0; the middle when the
// button is not wider than its two caps, which would otherwise mirror it).
// An unusable strip, H <= 0, w <= 0 or h <= 0 gives an empty plan.
BlitPlan PlanStripLook(int stripWidth, int stripHeight, int width, int height, ButtonLook look) noexcept;

// Bitmap mode fit: the window rectangle `window` (parent client coordinates)
// made at least one frame wide and exactly the strip's height, left and top
// unchanged. An unusable strip or H <= 0 leaves it as it is.
SkinRect FitToStrip(SkinRect window, int stripWidth, int stripHeight) noexcept;
// WM_SIZE: true when a window of `size` must be fitted (narrower than one
// frame, or not the strip's height). Never true for an unusable strip or H <= 0.
bool NeedsFitToStrip(SkinSize size, int stripWidth, int stripHeight) noexcept;

// Static mode: the icon's y inside a client of height h, (h - iconHeight) / 2
// or 0 when that is negative.
int StaticIconTop(int clientHeight, int iconHeight) noexcept;
// The pixel numbers of the text rectangles below are given at 96 DPI and
// scaled to `dpi`.
//
// Static mode: the text rectangle, the client moved right of an icon by
// iconWidth + 3 when there is one, the client itself otherwise.
SkinRect StaticTextRect(SkinRect client, bool hasIcon, int iconWidth, int dpi = 96) noexcept;

// Text-button mode: the text rectangle of a look. Its top moves down by
// (h - 12) / 2 (the text is taken to be 12 pixels high); the pressed look is
// moved a further pixel down and one pixel right (left and right edges both).
SkinRect TextButtonTextRect(SkinRect client, ButtonLook look, int dpi = 96) noexcept;
// Bitmap mode: the text rectangle of a look, the client itself except in the
// pressed look, which loses 2 pixels at the top and 1 at the left.
SkinRect BitmapButtonTextRect(SkinRect client, ButtonLook look, int dpi = 96) noexcept;

// Text-button mode: the hover colour while hover or pressed is set (also
// pressed alone), the normal colour otherwise.
Colour TextButtonColour(bool pressed, bool hover, Colour normal, Colour hoverColour) noexcept;
// Text-button mode: whether a look is underlined; bit 0 of `underlineStates`
// is the normal look, bit 1 the hover look, bit 2 the pressed look.
bool IsUnderlined(std::uint32_t underlineStates, ButtonLook look) noexcept;

// CQebTransButton's modes, as its m_mode stores them.
enum class TransButtonMode { kStatic = 0, kTextButton = 1, kBitmap = 2 };

// WM_SETCURSOR: the hand cursor in text-button mode and in bitmap mode without
// an image, the arrow otherwise (static mode, bitmap mode with an image).
int TransButtonCursor(TransButtonMode mode, bool hasBitmapImage) noexcept;
// WM_NCHITTEST: true in static mode, where the button answers kHitTransparent
// so clicks fall through to the window beneath; otherwise the default hit test.
bool TransButtonIsMouseTransparent(TransButtonMode mode) noexcept;

}  // namespace velmora::skin
