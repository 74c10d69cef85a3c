#include "skin/corner_region.h"

#include <algorithm>
#include <cstddef>

#include "skin/dpi_scale.h"
#include "skin/win32_values.h"

namespace velmora::skin {

namespace {

// One corner: where its block starts in the skin, and how a skin pixel of it
// moves to its window pixel.
struct Corner {
    int skinX;
    int skinY;
    int toWindowX;
    int toWindowY;
};

}  // namespace

std::vector<SkinPoint> CornerCutPixels(int skinWidth, int skinHeight, SkinSize window,
                                       const SkinPixelReader& readPixel, int cornerSize) {
    std::vector<SkinPoint> cut;
    if (skinWidth <= 0 || skinHeight <= 0 || window.cx <= 0 || window.cy <= 0 || cornerSize <= 0 ||
        !readPixel) {
        return cut;
    }
    const int columns = std::min(cornerSize, skinWidth);
    const int rows = std::min(cornerSize, skinHeight);
    const int right = skinWidth - columns;
    const int bottom = skinHeight - rows;
    const int toRight = window.cx - skinWidth;
    const int toBottom = window.cy - skinHeight;
    const Corner corners[] = {
        {0, 0, 0, 0},
        {right, 0, toRight, 0},
        {0, bottom, 0, toBottom},
        {right, bottom, toRight, toBottom},
    };
    const SkinRect windowRect{0, 0, window.cx, window.cy};
    for (const Corner& corner : corners) {
        for (int y = corner.skinY; y < corner.skinY + rows; ++y) {
            for (int x = corner.skinX; x < corner.skinX + columns; ++x) {
                if ((readPixel(x, y) & 0xFFFFFFu) != kKeyColour) {
                    continue;
                }
                const SkinPoint target{x + corner.toWindowX, y + corner.toWindowY};
                if (windowRect.Contains(target) && std::find(cut.begin(), cut.end(), target) == cut.end()) {
                    cut.push_back(target);
                }
            }
        }
    }
    return cut;
}

std::vector<SkinPoint> CornerCutPixels(std::span<const std::uint32_t> skin, int skinWidth, int skinHeight,
                                       SkinSize window, int cornerSize) {
    if (skinWidth <= 0 || skinHeight <= 0 ||
        skin.size() / static_cast<std::size_t>(skinWidth) < static_cast<std::size_t>(skinHeight)) {
        return {};
    }
    const std::size_t stride = static_cast<std::size_t>(skinWidth);
    return CornerCutPixels(
        skinWidth, skinHeight, window,
        [&skin, stride](int x, int y) {
            return skin[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x)];
        },
        cornerSize);
}

int CornerScanSize(int dpi) noexcept {
    return ScaleForDpi(kCornerScanSize, DpiOfPercent(ArtworkPercentForDpi(dpi)));
}

}  // namespace velmora::skin
