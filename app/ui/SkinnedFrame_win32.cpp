#include "app/ui/SkinnedFrame_win32.h"

#include "app/ui/SkinArtwork.h"
#include "res/resource.h"
#include "skin/dpi_scale.h"
#include "skin/packed_bitmap_win32.h"
#include "wnd/WinApp.h"

namespace {

using velmora::app::SkinArtwork;

// Loads all three bitmaps, each whether or not another failed; true when
// all three loaded.
bool LoadArtwork(const SkinArtwork& artwork, HINSTANCE hResources, CBitmap& captionButtons, CBitmap& frame,
                 CBitmap& buttonStrip) {
    const auto load = [&](CBitmap& bitmap, unsigned id) {
        return artwork.packed ? velmora::skin::LoadPackedSkinBitmap(bitmap, hResources, id)
                              : bitmap.LoadBitmap(hResources, id) != FALSE;
    };
    const bool captionButtonsLoaded = load(captionButtons, artwork.captionButtonsId);
    const bool frameLoaded = load(frame, artwork.frameId);
    const bool buttonStripLoaded = load(buttonStrip, artwork.addButtonId);
    return captionButtonsLoaded && frameLoaded && buttonStripLoaded;
}

}  // namespace

void SetUpSkinnedFrame(CQebDialog& dialog, CBitmap& captionButtons, CBitmap& frame, CBitmap& buttonStrip,
                       int dpi) {
    const HINSTANCE hResources = GetResourceInstance();
    SkinArtwork artwork = velmora::app::SkinArtworkForDpi(dpi);
    // A larger step's artwork that cannot be read leaves the frame at 100 %,
    // whole and consistent, rather than with pieces cut from no bitmap.
    if (!LoadArtwork(artwork, hResources, captionButtons, frame, buttonStrip) && artwork.packed) {
        artwork = velmora::app::SkinArtworkForDpi(velmora::skin::kBaseDpi);
        LoadArtwork(artwork, hResources, captionButtons, frame, buttonStrip);
    }

    for (int i = 0; i < velmora::app::kFramePieceCount; ++i) {
        const velmora::skin::SkinRect& piece = artwork.framePieces[i];
        dialog.SetFramePiece(piece.left, piece.top, piece.Width(), piece.Height(), i);
    }
    dialog.SetSkinBitmaps(&frame, &captionButtons);
    dialog.SetCaptionTextStyle(artwork.captionText.x, artwork.captionText.y, 0xFFFFFF);
    const velmora::skin::CaptionButtonLayout& buttons = artwork.captionButtons;
    dialog.SetCaptionButtonLayout(buttons.minWidth, buttons.maxWidth, buttons.closeWidth, buttons.height,
                                  buttons.gap, buttons.rightMargin, buttons.topMargin,
                                  buttons.maximizedTopOffset);
    // The frame destroys its caption icon: it gets a copy of its own at the
    // step's size, never the shared application icon; the copy it held before
    // is destroyed as this one replaces it.
    const velmora::skin::SkinRect& icon = artwork.captionIcon;
    const HICON hCaptionIcon = static_cast<HICON>(::LoadImageW(hResources, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                               IMAGE_ICON, icon.Width(), icon.Height(), 0));
    dialog.SetCaptionIcon(nullptr, 1, icon.left, icon.top, hCaptionIcon, icon.Width(), icon.Height());
}
