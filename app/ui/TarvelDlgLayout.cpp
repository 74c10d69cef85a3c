#include "app/ui/TarvelDlgLayout.h"

#include "skin/dpi_scale.h"

namespace velmora::app {

namespace {

constexpr int kFileIconSide = 48;

skin::SkinRect Scaled(int left, int top, int width, int height, int dpi) noexcept {
    return skin::ScaleRectForDpi(skin::RectAt(left, top, width, height), dpi);
}

}  // namespace

MainDialogLayout LayOutMainDialog(int dpi) noexcept {
    MainDialogLayout layout;
    layout.window = skin::ScaleSizeForDpi({355, 250}, dpi);
    layout.usageLabel = Scaled(20, 38, 320, 20, dpi);
    layout.commandNameLabel = Scaled(30, 63, 60, 20, dpi);
    layout.commandNameField = Scaled(92, 63, 150, 20, dpi);
    layout.addButton = Scaled(260, 60, 71, 20, dpi);
    layout.addSelfLink = Scaled(110, 210, 131, 20, dpi);
    // Drawn at the size it is read at, never stretched.
    const skin::SkinPoint iconAt = skin::ScalePointForDpi({144, 130}, dpi);
    const int iconSide = DroppedFileIconSize(dpi);
    layout.droppedFileIcon = skin::RectAt(iconAt.x, iconAt.y, iconSide, iconSide);
    return layout;
}

int DroppedFileIconSize(int dpi) noexcept { return skin::ScaleForDpi(kFileIconSide, dpi); }

}  // namespace velmora::app
