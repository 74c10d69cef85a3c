#include "wnd/Geometry.h"

namespace velmora {

namespace {

// Start of a span of `size` centred in [low, high), never before `low`.
// Widths are subtracted in 64 bits: screen coordinates near INT_MAX must not
// overflow.
int CenteredStart(int low, int high, int size) noexcept {
    const long long start = low + ((static_cast<long long>(high) - low) - size) / 2;
    return start < low ? low : static_cast<int>(start);
}

}  // namespace

LayoutPoint CenteredOrigin(const LayoutRect& area, int width, int height) noexcept {
    return {CenteredStart(area.left, area.right, width), CenteredStart(area.top, area.bottom, height)};
}

}  // namespace velmora
