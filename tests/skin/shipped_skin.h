// The main dialog's skin as it configures the frame: the eight pieces of the
// 323 x 53 frame bitmap and the caption-button layout.
#pragma once

#include "skin/frame_layout.h"

namespace velmora::skin::testing {

inline FramePieces ShippedPieces() {
    FramePieces pieces;
    const FramePiece rects[8] = {
        {0, 0, 165, 27},  {165, 0, 3, 27}, {168, 0, 155, 27}, {0, 30, 3, 10},
        {320, 30, 3, 10}, {0, 50, 8, 3},   {8, 50, 5, 3},     {311, 50, 12, 3},
    };
    for (int i = 0; i < 8; ++i) pieces.Set(i, rects[i]);
    return pieces;
}

inline FrameMetrics ShippedMetrics() { return FrameMetricsOf(ShippedPieces()); }

inline CaptionButtonLayout ShippedLayout() { return {25, 25, 42, 18, 0, 7, 0, 1}; }

constexpr SkinRect kMainClient{0, 0, 355, 250};

}  // namespace velmora::skin::testing
