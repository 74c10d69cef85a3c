// Where the manager's controls go inside the frame: the filter field with
// its label across the top, the list fills the window below it, the five
// buttons sit in a row at the bottom right, the status line takes what is
// left of that row. Pure arithmetic on the frame's inner rectangle, so that
// it can be laid out again at every size.
#pragma once

#include "skin/skin_geometry.h"

namespace velmora::app {

// The sizes below are given at 96 DPI; the window and the layout scale them
// to the window's DPI.
//
// The manager's window size when it opens, and the smallest it can be made.
constexpr skin::SkinSize kRunManagerSize{700, 420};
constexpr skin::SkinSize kRunManagerMinSize{480, 300};

constexpr int kRunManagerMargin = 10;
constexpr int kRunManagerButtonWidth = 72;
constexpr int kRunManagerButtonHeight = 25;  // the add button strip's height
constexpr int kRunManagerButtonGap = 8;
constexpr int kRunManagerStatusHeight = 20;
constexpr int kRunManagerFilterHeight = 22;
constexpr int kRunManagerFilterLabelWidth = 44;
constexpr int kRunManagerFilterGap = 6;  // between the filter field and the list

// The buttons left to right: 运行, 打开位置, 删除, 刷新.
constexpr int kRunManagerButtonCount = 5;

// The room a skin button leaves its text at each side (its rounded end) and
// a list cell leaves at its sides together, at 96 DPI.
constexpr int kButtonTextSides = 11;
constexpr int kCellTextPadding = 12;

// How wide the manager's words are at the window's DPI, measured in the
// fonts they are drawn with; 0 where nothing is measured. A control whose
// word needs more room than its design gives grows to fit it.
struct RunManagerTextWidths {
    int filterLabel = 0;
    int buttons[kRunManagerButtonCount] = {};
};

struct RunManagerLayout {
    skin::SkinRect filterLabel;
    skin::SkinRect filter;
    skin::SkinRect list;
    skin::SkinRect status;
    skin::SkinRect buttons[kRunManagerButtonCount];
};

// The layout inside `inner` (CQebDialog::GetInnerRect) for a window at
// `dpi`. Rectangles that would have no room are empty (right == left or
// bottom == top), never inverted.
RunManagerLayout LayOutRunManager(skin::SkinRect inner, int dpi = 96) noexcept;
// The same with each control at least as wide as its text needs: a button
// its text and kButtonTextSides at both sides, the filter's label its text.
RunManagerLayout LayOutRunManager(skin::SkinRect inner, int dpi, const RunManagerTextWidths& texts) noexcept;

// A width of `designedAt96` pixels at 96 DPI, at `dpi`; or, when more,
// `textWidth` (measured at `dpi`) with `sidesAt96` pixels, scaled, added.
int FittingWidth(int designedAt96, int textWidth, int sidesAt96, int dpi) noexcept;

// The list's column widths and the side of its row icons at `dpi`.
int RunManagerScaled(int pixelsAt96, int dpi) noexcept;
// A width the user gave a column at `fromDpi`, for `toDpi`: the same share
// of the window, rounded to the nearest pixel (halves away from zero). A
// DPI of zero or below leaves it as it is.
int RunManagerRescaled(int pixels, int fromDpi, int toDpi) noexcept;

}  // namespace velmora::app
