// The window's rounded corners: which window pixels leave the window region,
// read from the key-coloured (0xFF00FF) pixels of the frame skin's corners.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "skin/skin_geometry.h"

namespace velmora::skin {

// The side of each corner's scanned block in the skin drawn at 100 %.
inline constexpr int kCornerScanSize = 5;

// Reads the skin pixel (x, y) as 0x00BBGGRR (GetPixel on the skin selected in
// a memory DC). Called only with 0 <= x < BW and 0 <= y < BH.
using SkinPixelReader = std::function<std::uint32_t(int x, int y)>;

// The window pixels to cut from a `window`-sized region for a BW x BH skin.
// Each corner scans the 5 x 5 skin pixels at its corner of the skin, and each
// key-coloured one cuts one window pixel:
//   top left      skin (x, y)                      window (x, y)
//   top right     skin x in BW-5..BW-1, y in 0..4  window (W - BW + x, y)
//   bottom left   skin x in 0..4, y in BH-5..BH-1  window (x, H - BH + y)
//   bottom right  skin x in BW-5..BW-1, y too      window (W - BW + x, H - BH + y)
// A pixel matches when its low 24 bits are 0xFF00FF (the top byte, alpha in
// a 32-bit DIB, is ignored; GetPixel's CLR_INVALID never matches).
//
// Small skins and windows:
// - A skin less than 5 pixels wide (high) scans only the columns (rows) it
//   has in each corner; no pixel outside the skin is ever read.
// - In a skin less than 10 pixels wide or high the corners overlap: a pixel
//   in the overlap belongs to each corner it lies in and cuts one window pixel
//   for each of them, so every window corner gets the skin's corner shape.
// - A window smaller than the skin gets only the pixels that fall inside it:
//   no listed pixel lies outside (0, 0, W, H).
// - A skin or window of zero or negative size cuts nothing.
// The list holds each window pixel once, in scan order (corners top left, top
// right, bottom left, bottom right; rows top down; columns left to right). At
// most 4 x cornerSize x cornerSize pixels are read.
//
// `cornerSize` is the side of the scanned block: 5 for the skin drawn at
// 100 %, larger for a skin drawn at a larger scale (CornerScanSize).
std::vector<SkinPoint> CornerCutPixels(int skinWidth, int skinHeight, SkinSize window,
                                       const SkinPixelReader& readPixel, int cornerSize = kCornerScanSize);

// The same over a whole skin held as BW x BH pixels 0x00BBGGRR, row-major, top
// row first. A span shorter than BW x BH cuts nothing.
std::vector<SkinPoint> CornerCutPixels(std::span<const std::uint32_t> skin, int skinWidth, int skinHeight,
                                       SkinSize window, int cornerSize = kCornerScanSize);

// The scanned corner block of a skin drawn for a window at `dpi`: 5 scaled
// to the artwork step the DPI takes.
int CornerScanSize(int dpi) noexcept;

}  // namespace velmora::skin
