// Where the tool windows open: inside the work area of their monitor, on
// their owner, or where the user left them while that place still exists.
#include "app/ui/WindowPlacement.h"

#include <gtest/gtest.h>

#include "app/text/LanguageChoice.h"
#include "app/ui/RememberedWindow.h"
#include "memory_registry.h"

namespace velmora::app {
namespace {

using skin::RectAt;
using skin::SkinRect;
using skin::SkinSize;

// A 1024 x 768 screen whose taskbar takes the bottom 40 pixels.
constexpr SkinRect kWork{0, 0, 1024, 728};

TEST(WindowPlacementTest, FitIntoWorkAreaAtEveryEdge) {
    const struct {
        const char* what;
        SkinRect window;
        SkinRect work;
        SkinRect placed;
    } rows[] = {
        {"inside stays", RectAt(100, 100, 700, 420), kWork, RectAt(100, 100, 700, 420)},
        {"past the right edge", RectAt(334, 100, 700, 420), kWork, RectAt(324, 100, 700, 420)},
        {"past the left edge", RectAt(-50, 100, 700, 420), kWork, RectAt(0, 100, 700, 420)},
        {"above the top", RectAt(100, -30, 700, 420), kWork, RectAt(100, 0, 700, 420)},
        {"below the work area (onto the taskbar)", RectAt(100, 400, 700, 420), kWork, RectAt(100, 308, 700, 420)},
        {"past a corner", RectAt(900, 700, 700, 420), kWork, RectAt(324, 308, 700, 420)},
        {"wider than the area", RectAt(300, 10, 1200, 420), kWork, RectAt(0, 10, 1024, 420)},
        {"taller than the area", RectAt(10, 10, 500, 900), kWork, RectAt(10, 0, 500, 728)},
        {"exactly the area", kWork, kWork, kWork},
        // A second monitor left of the first, and one with its taskbar on top.
        {"on a monitor at negative x", RectAt(-300, 50, 700, 420), SkinRect{-1280, 0, 0, 1024},
         RectAt(-700, 50, 700, 420)},
        {"a work area that starts below a taskbar", RectAt(0, 0, 300, 200), SkinRect{0, 30, 800, 600},
         RectAt(0, 30, 300, 200)},
        {"no work area known", RectAt(2000, 0, 300, 200), SkinRect{}, RectAt(2000, 0, 300, 200)},
    };
    for (const auto& row : rows) EXPECT_EQ(FitIntoWorkArea(row.window, row.work), row.placed) << row.what;
}

TEST(WindowPlacementTest, OnTheOwnerAndInsideTheArea) {
    // The main window (355 x 250) centred, and near the screen's right edge:
    // the manager (700 x 420) is centred on it only as far as the screen allows.
    EXPECT_EQ(PlaceOnOwner(RectAt(334, 259, 355, 250), {700, 420}, kWork), RectAt(162, 174, 700, 420));
    EXPECT_EQ(PlaceOnOwner(RectAt(660, 20, 355, 250), {700, 420}, kWork), RectAt(324, 0, 700, 420));
    EXPECT_EQ(PlaceOnOwner(RectAt(669, 478, 355, 250), {700, 420}, kWork), RectAt(324, 308, 700, 420));
    // At 150 % the manager is 1050 x 630: wider than the screen, it takes its width.
    EXPECT_EQ(PlaceOnOwner(RectAt(400, 300, 533, 375), {1050, 630}, kWork), RectAt(0, 98, 1024, 630));
}

TEST(WindowPlacementTest, RememberedPlaceOnlyWhileItsMonitorIsThere) {
    const SkinRect fallback = RectAt(162, 154, 700, 420);
    const SkinRect right{1024, 0, 2944, 1040};  // a second monitor, 1920 x 1080, right of the first
    const struct {
        const char* what;
        RememberedPlace remembered;
        int dpi;
        std::vector<SkinRect> areas;
        SkinRect placed;
    } rows[] = {
        {"as left", {RectAt(50, 60, 800, 500)}, 96, {kWork}, RectAt(50, 60, 800, 500)},
        {"on the second monitor", {RectAt(1500, 100, 800, 500)}, 96, {kWork, right}, RectAt(1500, 100, 800, 500)},
        {"the second monitor is gone", {RectAt(1500, 100, 800, 500)}, 96, {kWork}, fallback},
        {"only a sliver of the caption shows", {RectAt(-760, 100, 800, 500)}, 96, {kWork}, fallback},
        {"enough of the caption shows: pulled in", {RectAt(-600, 100, 800, 500)}, 96, {kWork},
         RectAt(0, 100, 800, 500)},
        {"above the screen", {RectAt(100, -600, 800, 500)}, 96, {kWork}, fallback},
        {"across two monitors: the one with more of it", {RectAt(700, 100, 800, 500)}, 96, {kWork, right},
         RectAt(1024, 100, 800, 500)},
        {"a size kept at 96 DPI grows at 144", {RectAt(10, 10, 600, 400)}, 144, {kWork}, RectAt(10, 10, 900, 600)},
        {"and is cut to a small screen", {RectAt(10, 10, 800, 600)}, 144, {kWork}, RectAt(0, 0, 1024, 728)},
        {"nothing remembered", {}, 96, {kWork}, fallback},
        {"no monitor known", {RectAt(50, 60, 800, 500)}, 96, {}, fallback},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlaceRemembered(row.remembered, row.dpi, row.areas, fallback), row.placed) << row.what;
}

TEST(WindowPlacementTest, SizeKeptAt96Dpi) {
    EXPECT_EQ(SizeAt96({700, 420}, 96), (SkinSize{700, 420}));
    EXPECT_EQ(SizeAt96({1050, 630}, 144), (SkinSize{700, 420}));
    EXPECT_EQ(SizeAt96({875, 525}, 120), (SkinSize{700, 420}));
    EXPECT_EQ(SizeAt96({701, 421}, 192), (SkinSize{351, 211}));  // halves up
    EXPECT_EQ(SizeAt96({700, 420}, 0), (SkinSize{700, 420}));
}

// The remembered window is one text value the user could edit by hand: only
// a text that makes exactly a place and widths is taken.
TEST(RememberedWindowTest, TextFormTakesOnlyWhatItWrites) {
    RememberedWindow window;
    window.place = {RectAt(-1200, 30, 800, 500), true};
    window.columnsAt96 = {120, 260, 60, 70, 180};
    const CStringW text = FormatRememberedWindow(window);
    EXPECT_EQ(text, u"-1200,30,800,500,1;120,260,60,70,180");
    RememberedWindow back;
    ASSERT_TRUE(ParseRememberedWindow(text, &back));
    EXPECT_EQ(back.place.window, window.place.window);
    EXPECT_TRUE(back.place.maximised);
    EXPECT_EQ(back.columnsAt96, window.columnsAt96);
    ASSERT_TRUE(ParseRememberedWindow(u"0,0,700,420,0;", &back));
    EXPECT_TRUE(back.columnsAt96.empty());

    const char16_t* refused[] = {
        u"", u"0,0,700,420,0", u"0,0,700,420;1", u"0,0,700,420,0,9;1", u"0,0,0,420,0;1", u"0,0,700,-4,0;1",
        u"0,0,700,420,2;1", u"0, 0,700,420,0;1", u"0,0,700,420,0;1,", u"0,0,700,420,0;0", u"0,0,700,420,0;-5",
        u"0,0,7000000,420,0;1", u"0,0,99999999999999999999,420,0;1", u"0,0,700,420,0;1;2", u"--1,0,700,420,0;1",
        u"0,0,700x,420,0;1"};
    for (const char16_t* bad : refused) {
        RememberedWindow untouched;
        untouched.columnsAt96 = {7};
        EXPECT_FALSE(ParseRememberedWindow(bad, &untouched)) << N(bad);
        EXPECT_EQ(untouched.columnsAt96, std::vector<int>{7});
    }
}

TEST(RememberedWindowTest, KeptBelowTheUsersSettingsKey) {
    memreg::MemoryRegistry reg;
    RememberedWindow window;
    window.place = {RectAt(10, 20, 700, 420), false};
    window.columnsAt96 = {100, 300};
    RememberedWindow read;
    EXPECT_FALSE(ReadRememberedWindow(reg, memreg::kUserRoot, u"Software\\Velmora", u"Manager", &read));
    ASSERT_TRUE(WriteRememberedWindow(reg, memreg::kUserRoot, u"Software\\Velmora", u"Manager", window));
    ASSERT_TRUE(ReadRememberedWindow(reg, memreg::kUserRoot, u"Software\\Velmora", u"Manager", &read));
    EXPECT_EQ(read.place.window, window.place.window);
    EXPECT_EQ(read.columnsAt96, window.columnsAt96);
    EXPECT_TRUE(reg.Balanced());
}

// The language the user chose, kept beside the windows: read back as
// written, and nothing for a value that is no plain name.
TEST(RememberedWindowTest, TheLanguageChoiceIsKeptThere) {
    memreg::MemoryRegistry reg;
    EXPECT_EQ(RememberedLanguageName(reg, memreg::kUserRoot), std::nullopt);
    ASSERT_TRUE(RememberLanguage(reg, memreg::kUserRoot, Language::kEnglish));
    EXPECT_EQ(RememberedLanguageName(reg, memreg::kUserRoot), "en");
    ASSERT_TRUE(RememberLanguage(reg, memreg::kUserRoot, Language::kChinese));
    EXPECT_EQ(RememberedLanguageName(reg, memreg::kUserRoot), "zh");
    for (const char* stored : {"e n", "", "a-name-far-too-long"}) {
        reg.PutText("U:Software\\Velmora", "Language", stored);
        EXPECT_EQ(RememberedLanguageName(reg, memreg::kUserRoot), std::nullopt) << stored;
    }
    reg.failAtCall = reg.calls;  // the next call fails: nothing is stored
    EXPECT_FALSE(RememberLanguage(reg, memreg::kUserRoot, Language::kEnglish));
    reg.failAtCall = -1;
    EXPECT_TRUE(reg.Balanced());
}

}  // namespace
}  // namespace velmora::app
