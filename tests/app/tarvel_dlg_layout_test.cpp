#include "app/ui/TarvelDlgLayout.h"

#include <gtest/gtest.h>

namespace velmora::app {
namespace {

using skin::SkinRect;
using skin::SkinSize;

TEST(MainDialogLayoutTest, EveryPlaceScaledOnceAtEachDpi) {
    struct Case {
        int dpi;
        SkinSize window;
        SkinRect usage, label, field, add, link, icon;
    };
    const Case cases[] = {
        // 96 DPI: the sizes the dialog is designed with, exactly.
        {96, {355, 250}, {20, 38, 340, 58}, {30, 63, 90, 83}, {92, 63, 242, 83}, {260, 60, 331, 80},
         {110, 210, 241, 230}, {144, 130, 192, 178}},
        // Halves round away from zero; each edge is scaled, so neighbours
        // that touch keep touching.
        {120, {444, 313}, {25, 48, 425, 73}, {38, 79, 113, 104}, {115, 79, 303, 104}, {325, 75, 414, 100},
         {138, 263, 301, 288}, {180, 163, 240, 223}},
        {144, {533, 375}, {30, 57, 510, 87}, {45, 95, 135, 125}, {138, 95, 363, 125}, {390, 90, 497, 120},
         {165, 315, 362, 345}, {216, 195, 288, 267}},
        {168, {621, 438}, {35, 67, 595, 102}, {53, 110, 158, 145}, {161, 110, 424, 145}, {455, 105, 579, 140},
         {193, 368, 422, 403}, {252, 228, 336, 312}},
        {192, {710, 500}, {40, 76, 680, 116}, {60, 126, 180, 166}, {184, 126, 484, 166}, {520, 120, 662, 160},
         {220, 420, 482, 460}, {288, 260, 384, 356}},
        {240, {888, 625}, {50, 95, 850, 145}, {75, 158, 225, 208}, {230, 158, 605, 208}, {650, 150, 828, 200},
         {275, 525, 603, 575}, {360, 325, 480, 445}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const MainDialogLayout layout = LayOutMainDialog(c.dpi);
        EXPECT_EQ(layout.window, c.window);
        EXPECT_EQ(layout.usageLabel, c.usage);
        EXPECT_EQ(layout.commandNameLabel, c.label);
        EXPECT_EQ(layout.commandNameField, c.field);
        EXPECT_EQ(layout.addButton, c.add);
        EXPECT_EQ(layout.addSelfLink, c.link);
        EXPECT_EQ(layout.droppedFileIcon, c.icon);
        // The icon is drawn at the size it is read at.
        EXPECT_EQ(layout.droppedFileIcon.Width(), DroppedFileIconSize(c.dpi));
        EXPECT_EQ(layout.droppedFileIcon.Height(), DroppedFileIconSize(c.dpi));
    }
    EXPECT_EQ(DroppedFileIconSize(96), 48);
    EXPECT_EQ(DroppedFileIconSize(144), 72);
    EXPECT_EQ(DroppedFileIconSize(192), 96);
    // No DPI read counts as 96.
    EXPECT_EQ(LayOutMainDialog(0).window, (SkinSize{355, 250}));
}

}  // namespace
}  // namespace velmora::app
