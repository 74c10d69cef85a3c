#include "app/ui/SkinArtwork.h"

#include "res/resource.h"
#include "skin/dpi_scale.h"

namespace velmora::app {

namespace {

using skin::RectAt;
using skin::SkinRect;

// The frame pieces at 100 %.
constexpr SkinRect kFramePieces[kFramePieceCount] = {
    RectAt(0, 0, 165, 27),    // title bar, left part
    RectAt(165, 0, 3, 27),    // title bar, middle, stretched
    RectAt(168, 0, 155, 27),  // title bar, right part
    RectAt(0, 30, 3, 10),     // left border
    RectAt(320, 30, 3, 10),   // right border
    RectAt(0, 50, 8, 3),      // bottom border, left corner
    RectAt(8, 50, 5, 3),      // bottom border, middle, stretched
    RectAt(311, 50, 12, 3),   // bottom border, right corner
};

// The frame pieces at a step. Each piece is its 100 % size scaled, so that
// all four borders are equally thick at every step (scaling each edge on its
// own would make a border 3 or 4 pixels thick by where in the bitmap it
// lies). They lie as at 100 %: the title bar's three pieces side by side from
// the left edge, their end the bitmap's right edge, where the right border
// and the bottom's right corner end too; the bottom's left corner and middle
// side by side from the left edge; the side borders and the bottom row at
// their 100 % rows scaled, the bottom row's end the bitmap's bottom edge.
void LayOutFramePieces(int step, SkinRect (&pieces)[kFramePieceCount]) noexcept {
    const auto width = [step](int i) { return skin::ScaleForDpi(kFramePieces[i].Width(), step); };
    const auto height = [step](int i) { return skin::ScaleForDpi(kFramePieces[i].Height(), step); };
    int x = 0;
    for (const int i : {0, 1, 2}) {
        pieces[i] = RectAt(x, 0, width(i), height(i));
        x += width(i);
    }
    const int right = x;
    pieces[3] = RectAt(0, skin::ScaleForDpi(kFramePieces[3].top, step), width(3), height(3));
    pieces[4] = RectAt(right - width(4), skin::ScaleForDpi(kFramePieces[4].top, step), width(4), height(4));
    const int bottomRow = skin::ScaleForDpi(kFramePieces[5].top, step);
    pieces[5] = RectAt(0, bottomRow, width(5), height(5));
    pieces[6] = RectAt(width(5), bottomRow, width(6), height(6));
    pieces[7] = RectAt(right - width(7), bottomRow, width(7), height(7));
}

constexpr skin::SkinPoint kCaptionText{35, 8};
constexpr skin::CaptionButtonLayout kCaptionButtons{25, 25, 42, 18, 0, 7, 0, 1};
constexpr SkinRect kCaptionIcon = RectAt(9, 6, 16, 16);

struct PackedIds {
    int percent;
    unsigned captionButtons, frame, addButton;
};

constexpr PackedIds kPackedIds[] = {
    {125, IDR_SKIN_125_CAPTION_BUTTONS, IDR_SKIN_125_FRAME, IDR_SKIN_125_ADD_BUTTON},
    {150, IDR_SKIN_150_CAPTION_BUTTONS, IDR_SKIN_150_FRAME, IDR_SKIN_150_ADD_BUTTON},
    {175, IDR_SKIN_175_CAPTION_BUTTONS, IDR_SKIN_175_FRAME, IDR_SKIN_175_ADD_BUTTON},
    {200, IDR_SKIN_200_CAPTION_BUTTONS, IDR_SKIN_200_FRAME, IDR_SKIN_200_ADD_BUTTON},
    {250, IDR_SKIN_250_CAPTION_BUTTONS, IDR_SKIN_250_FRAME, IDR_SKIN_250_ADD_BUTTON},
};

}  // namespace

SkinArtwork SkinArtworkForDpi(int dpi) noexcept {
    SkinArtwork artwork;
    artwork.percent = skin::ArtworkPercentForDpi(dpi);
    artwork.artworkDpi = skin::DpiOfPercent(artwork.percent);
    artwork.captionButtonsId = IDB_CAPTION_BUTTONS;
    artwork.frameId = IDB_FRAME;
    artwork.addButtonId = IDB_ADD_BUTTON;
    for (const PackedIds& ids : kPackedIds) {
        if (ids.percent != artwork.percent) continue;
        artwork.packed = true;
        artwork.captionButtonsId = ids.captionButtons;
        artwork.frameId = ids.frame;
        artwork.addButtonId = ids.addButton;
    }

    const int step = artwork.artworkDpi;
    const auto scale = [step](int value) { return skin::ScaleForDpi(value, step); };
    LayOutFramePieces(step, artwork.framePieces);
    artwork.captionText = skin::ScalePointForDpi(kCaptionText, step);
    artwork.captionButtons = {scale(kCaptionButtons.minWidth),   scale(kCaptionButtons.maxWidth),
                              scale(kCaptionButtons.closeWidth), scale(kCaptionButtons.height),
                              scale(kCaptionButtons.gap),        scale(kCaptionButtons.rightMargin),
                              scale(kCaptionButtons.topMargin),  scale(kCaptionButtons.maximizedTopOffset)};
    artwork.captionIcon = skin::ScaleRectForDpi(kCaptionIcon, step);
    return artwork;
}

}  // namespace velmora::app
