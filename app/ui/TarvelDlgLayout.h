// Where the main dialog's window and controls go at a DPI: the sizes and
// places it is designed with at 96 DPI, each scaled to the window's DPI by
// the one rounding of skin/dpi_scale.h. Rectangles are in the dialog's
// client coordinates.
#pragma once

#include "skin/skin_geometry.h"

namespace velmora::app {

struct MainDialogLayout {
    skin::SkinSize window;            // 355 x 250
    skin::SkinRect usageLabel;        // (20, 38) 320 x 20
    skin::SkinRect commandNameLabel;  // (30, 63) 60 x 20
    skin::SkinRect commandNameField;  // (92, 63) 150 x 20
    skin::SkinRect addButton;         // (260, 60) 71 x 20; the button fits its
                                      // height to the strip's
    skin::SkinRect addSelfLink;       // (110, 210) 131 x 20
    skin::SkinRect droppedFileIcon;   // (144, 130) 48 x 48
};

MainDialogLayout LayOutMainDialog(int dpi) noexcept;

// The side of the dropped file's icon at `dpi`: 48 at 96 DPI, 72 at 144, 96
// at 192.
int DroppedFileIconSize(int dpi) noexcept;

}  // namespace velmora::app
