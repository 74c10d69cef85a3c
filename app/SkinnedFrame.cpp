#include "app/SkinnedFrame.h"

#include "res/resource.h"
#include "wnd/WinApp.h"

namespace {

struct Piece {
    int x, y, cx, cy;
};

// Source rectangles of the frame pieces in bitmap 131, by piece index.
constexpr Piece kFramePieces[8] = {
    {0, 0, 165, 27},    // title bar, left part
    {165, 0, 3, 27},    // title bar, middle, stretched
    {168, 0, 155, 27},  // title bar, right part
    {0, 30, 3, 10},     // left border
    {320, 30, 3, 10},   // right border
    {0, 50, 8, 3},      // bottom border, left corner
    {8, 50, 5, 3},      // bottom border, middle, stretched
    {311, 50, 12, 3},   // bottom border, right corner
};

constexpr int kCaptionIconSize = 16;

}  // namespace

void SetUpSkinnedFrame(CQebDialog& dialog, CBitmap& captionButtons, CBitmap& frame, CBitmap& buttonStrip,
                       int dpi) {
    (void)dpi;  // the 1x artwork until the other steps are drawn
    const HINSTANCE hResources = GetResourceInstance();
    captionButtons.LoadBitmap(hResources, IDB_CAPTION_BUTTONS);
    frame.LoadBitmap(hResources, IDB_FRAME);
    buttonStrip.LoadBitmap(hResources, IDB_ADD_BUTTON);

    for (int i = 0; i < 8; ++i) {
        const Piece& piece = kFramePieces[i];
        dialog.SetFramePiece(piece.x, piece.y, piece.cx, piece.cy, i);
    }
    dialog.SetSkinBitmaps(&frame, &captionButtons);
    dialog.SetCaptionTextStyle(35, 8, 0xFFFFFF);
    dialog.SetCaptionButtonLayout(25, 25, 42, 18, 0, 7, 0, 1);
    // The frame destroys its caption icon: it gets a 16 x 16 copy of its own,
    // never the shared application icon.
    const HICON hCaptionIcon = static_cast<HICON>(::LoadImageW(
        hResources, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, kCaptionIconSize, kCaptionIconSize, 0));
    dialog.SetCaptionIcon(nullptr, 1, 9, 6, hCaptionIcon, kCaptionIconSize, kCaptionIconSize);
}
