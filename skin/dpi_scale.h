// One scale per window: every pixel number of the skin and the dialogs is
// given at 96 DPI (100 %) and turned into the window's own DPI here, and only
// here, so that every caller rounds alike. At 96 DPI every number stays
// exactly as given.
#pragma once

#include "skin/skin_geometry.h"

namespace velmora::skin {

// The DPI the pixel numbers are given at.
inline constexpr int kBaseDpi = 96;

// `value` x dpi / 96, rounded to the nearest pixel, halves away from zero (as
// MulDiv rounds). A DPI of zero or below counts as 96.
int ScaleForDpi(int value, int dpi) noexcept;

// A rectangle scaled edge by edge, so that rectangles that touch at 96 DPI
// still touch, and a run of adjacent pieces keeps its scaled total.
SkinRect ScaleRectForDpi(SkinRect rect, int dpi) noexcept;
SkinPoint ScalePointForDpi(SkinPoint point, int dpi) noexcept;
SkinSize ScaleSizeForDpi(SkinSize size, int dpi) noexcept;

// The scale steps the skin's artwork is drawn at, in percent.
inline constexpr int kArtworkPercents[] = {100, 125, 150, 175, 200, 250};

// The artwork step for a DPI: the step nearest to dpi / 96, the larger one
// on a tie; below 100 % it is 100, above 250 % it is 250.
int ArtworkPercentForDpi(int dpi) noexcept;

// The DPI an artwork step stands for: percent x 96 / 100.
constexpr int DpiOfPercent(int percent) noexcept { return percent * kBaseDpi / 100; }

}  // namespace velmora::skin
