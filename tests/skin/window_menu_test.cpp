#include "skin/window_menu.h"

#include <gtest/gtest.h>

#include "skin/win32_values.h"
#include "tests/skin/skin_test_print.h"

namespace velmora::skin {
namespace {

TEST(WindowMenuTest, ItemStatesForEachWindowState) {
    struct Case {
        WindowShowState state;
        bool resizable;
        WindowMenuStates items;
    };
    using S = WindowShowState;
    const Case cases[] = {
        // size, move, restore, minimise, maximise
        {S::kNormal, false, {false, true, false, true, false}},
        {S::kNormal, true, {true, true, false, true, true}},
        {S::kMaximized, false, {false, false, true, true, false}},
        {S::kMaximized, true, {false, false, true, true, false}},
        {S::kMinimized, false, {false, false, true, false, false}},
        {S::kMinimized, true, {false, false, true, false, true}},
    };
    for (const Case& c : cases) {
        const WindowMenuStates items = WindowMenuStatesFor(c.state, c.resizable);
        EXPECT_EQ(items, c.items) << static_cast<int>(c.state) << " resizable " << c.resizable << ": "
                                  << items.size << items.move << items.restore << items.minimize
                                  << items.maximize;
    }
}

TEST(WindowMenuTest, RequestsWithin300MsOfClosingAreDropped) {
    struct Case {
        std::uint32_t now;
        std::optional<std::uint32_t> lastClose;
        bool opens;
    };
    const Case cases[] = {
        {1000, std::nullopt, true},
        {100, std::nullopt, true},  // never closed: even right after the counter started or wrapped
        {0, std::nullopt, true},
        {1000, 800, false},
        {1000, 701, false},
        {1000, 700, true},
        {1000, 1000, false},
        // Across the counter's wrap.
        {0x50, 0xFFFFFF00u, true},   // 336 ms later
        {0x10, 0xFFFFFFF0u, false},  // 32 ms later
        {0x2B, 0xFFFFFFFFu, false},  // 44 ms later
        {0x12B, 0xFFFFFFFFu, true},  // 300 ms later
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WindowMenuMayOpen(c.now, c.lastClose), c.opens)
            << c.now << " after " << (c.lastClose ? static_cast<long long>(*c.lastClose) : -1);
    }
}

TEST(WindowMenuTest, IconDoubleClickClosesTheWindow) {
    const SkinPoint first{100, 50};
    const SkinRect box = ClickBoxAround(first);
    EXPECT_EQ(box, (SkinRect{98, 48, 103, 53}));
    // A hand is as unsteady at any scale: 3 pixels each side at 144 DPI
    // (2 x 1.5), 4 at 192.
    EXPECT_EQ(ClickBoxAround(first, 144), (SkinRect{97, 47, 104, 54}));
    EXPECT_EQ(ClickBoxAround(first, 192), (SkinRect{96, 46, 105, 55}));
    struct Case {
        bool fromIcon;
        int dx, dy;
        std::uint32_t t0, t1;
        bool closes;
    };
    const Case cases[] = {
        {true, 0, 0, 1000, 1200, true},
        {true, 2, 2, 1000, 1299, true},
        {true, -2, -2, 1000, 1000, true},
        {true, 3, 0, 1000, 1100, false},
        {true, 0, -3, 1000, 1100, false},
        {true, 0, 0, 1000, 1300, false},
        {false, 0, 0, 1000, 1100, false},
        {true, 1, -1, 0xFFFFFF00u, 0x20, true},  // 288 ms across the wrap
        {true, 0, 0, 0xFFFFFF00u, 0x2C, false},  // 300 ms across the wrap
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IconDoubleClickCloses(c.fromIcon, box, {first.x + c.dx, first.y + c.dy}, c.t0, c.t1),
                  c.closes)
            << c.fromIcon << " " << c.dx << "," << c.dy << " " << c.t1 - c.t0;
    }
}

TEST(WindowMenuTest, AltSpace) {
    const short altDown = -128, altUp = 0, altToggled = 1;
    struct Case {
        unsigned message;
        std::uintptr_t key;
        short alt;
        bool consumed;
    };
    const Case cases[] = {
        {0x100, 0x20, altDown, true},  // WM_KEYDOWN
        {0x104, 0x20, altDown, true},  // WM_SYSKEYDOWN
        {0x105, 0x20, altDown, true},  // WM_SYSKEYUP
        {0x106, 0x20, altDown, true},  // WM_SYSCHAR
        {0x108, 0x20, altDown, true},     {0x0FF, 0x20, altDown, false},
        {0x109, 0x20, altDown, false},    {0x104, 0x20, altUp, false},    // Space alone
        {0x104, 0x20, altToggled, false}, {0x104, 0x41, altDown, false},  // Alt+A
        {0x200, 0x20, altDown, false},                                    // a mouse message
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAltSpace(c.message, c.key, c.alt), c.consumed) << std::hex << c.message << " " << c.key;
    }
}

}  // namespace
}  // namespace velmora::skin
