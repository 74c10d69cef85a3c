// Plain rectangles, points and sizes of the skin's logic: the vocabulary of
// every pure skin function, free of any window. Rectangles follow the Windows
// convention: left and top inside, right and bottom outside.
#pragma once

namespace velmora::skin {

struct SkinPoint {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(const SkinPoint&, const SkinPoint&) = default;
};

struct SkinSize {
    int cx = 0;
    int cy = 0;
    friend constexpr bool operator==(const SkinSize&, const SkinSize&) = default;
};

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const noexcept { return right - left; }
    constexpr int Height() const noexcept { return bottom - top; }
    // True when the rectangle covers no pixel (zero or negative width or height).
    constexpr bool IsEmpty() const noexcept { return right <= left || bottom <= top; }
    constexpr bool Contains(SkinPoint p) const noexcept {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    friend constexpr bool operator==(const SkinRect&, const SkinRect&) = default;
};

// The rectangle `width` x `height` with its top-left corner at (x, y).
constexpr SkinRect RectAt(int x, int y, int width, int height) noexcept {
    return {x, y, x + width, y + height};
}

// One copy of a bitmap block in a blit plan: `source` in the bitmap, `target`
// in the destination. When the two differ in size the copy is a stretch
// (StretchBlt); otherwise a plain copy (BitBlt).
struct BlitStep {
    SkinRect source;
    SkinRect target;
    // The key colour 0xFF00FF of the source leaves the target unchanged.
    bool colourKeyed = false;
    friend constexpr bool operator==(const BlitStep&, const BlitStep&) = default;
};

// Up to three copies, drawn in order; steps[count..] are unused. A plan never
// holds a step whose target or source is empty.
struct BlitPlan {
    BlitStep steps[3] = {};
    int count = 0;
};

}  // namespace velmora::skin
