// Which skin artwork a window of a given DPI wears, and the frame's numbers
// for it: the step's bitmaps (the 100 % .bmp resources or the packed ones of
// a larger step) and the frame pieces, caption text, caption buttons and
// caption icon, each 100 % number scaled to the step as the skin scales every
// number; the frame pieces keep their scaled 100 % sizes, laid out in the
// step's bitmap as at 100 %.
#pragma once

#include "skin/frame_layout.h"
#include "skin/skin_geometry.h"

namespace velmora::app {

inline constexpr int kFramePieceCount = 8;

struct SkinArtwork {
    int percent = 100;
    // The DPI the step's artwork is drawn for; every number below is scaled
    // to it.
    int artworkDpi = 96;
    // At 100 % BITMAP resources; above, RCDATA resources in the packed form.
    bool packed = false;
    unsigned captionButtonsId = 0;
    unsigned frameId = 0;
    unsigned addButtonId = 0;
    // Source rectangles of the frame pieces in the frame bitmap, by piece index.
    skin::SkinRect framePieces[kFramePieceCount] = {};
    skin::SkinPoint captionText;
    skin::CaptionButtonLayout captionButtons;
    // Where the caption icon is drawn and its size.
    skin::SkinRect captionIcon;
};

// The artwork for a window at `dpi` (a DPI of zero or below counts as 96).
SkinArtwork SkinArtworkForDpi(int dpi) noexcept;

}  // namespace velmora::app
