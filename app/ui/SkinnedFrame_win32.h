// The frame skin that every dialog of the tool wears, in the artwork of the
// window's DPI (app/ui/SkinArtwork.h): at 100 % bitmaps 130 to 132, the eight
// frame pieces of bitmap 131, the white caption text, the caption buttons of
// bitmap 130 and a 16 x 16 copy of the application icon in the caption; at a
// larger step the same drawn at that step, every number scaled to it.
#pragma once

#include "skin/QebDialog.h"
#include "wnd/Gdi.h"

// Background of the dialogs' interior and of every skinned control on it,
// 0x00BBGGRR.
constexpr COLORREF kDialogBackground = 0xEFD9C1;

// Loads the three skin bitmaps drawn for the window's DPI into the dialog's
// own bitmap objects (which must live as long as its window) and configures
// the frame at that DPI. Called from the dialog's OnInitDialog before the
// base's, and again with the new DPI when the window's DPI changes.
void SetUpSkinnedFrame(CQebDialog& dialog, CBitmap& captionButtons, CBitmap& frame, CBitmap& buttonStrip,
                       int dpi);
