#include "skin/dpi_scale.h"

#include <cstdint>
#include <cstdlib>

namespace velmora::skin {

int ScaleForDpi(int value, int dpi) noexcept {
    if (dpi <= 0 || dpi == kBaseDpi) return value;
    const std::int64_t product = std::int64_t(value) * dpi;
    const std::int64_t magnitude = (std::llabs(product) + kBaseDpi / 2) / kBaseDpi;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

SkinRect ScaleRectForDpi(SkinRect rect, int dpi) noexcept {
    return {ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
            ScaleForDpi(rect.bottom, dpi)};
}

SkinPoint ScalePointForDpi(SkinPoint point, int dpi) noexcept {
    return {ScaleForDpi(point.x, dpi), ScaleForDpi(point.y, dpi)};
}

SkinSize ScaleSizeForDpi(SkinSize size, int dpi) noexcept {
    return {ScaleForDpi(size.cx, dpi), ScaleForDpi(size.cy, dpi)};
}

int ArtworkPercentForDpi(int dpi) noexcept {
    if (dpi <= 0) return kArtworkPercents[0];
    int best = kArtworkPercents[0];
    // Compared in DPI x 100 so that no step is rounded: |dpi x 100 - p x 96|.
    std::int64_t bestDistance = -1;
    for (const int percent : kArtworkPercents) {
        const std::int64_t distance = std::llabs(std::int64_t(dpi) * 100 - std::int64_t(percent) * kBaseDpi);
        if (bestDistance < 0 || distance <= bestDistance) {
            best = percent;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace velmora::skin
