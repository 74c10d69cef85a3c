// ExtractFileIcons under Wine against real files: Wine's own executables
// (counts compared with wrestool's), icon and cursor files extracted by
// wrestool, an animated cursor and bitmaps, and the path rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "icons/extract_icons.h"
#include "tests/icons/win32_test_support.h"

namespace velmora {
namespace {

using namespace velmora::testing;

std::string NotepadPath() { return Wine32Directory() + "\\notepad.exe"; }

// Copies a file into a scratch directory under a new name.
std::string CopyAs(const std::string& source, const std::string& dir, const std::string& name) {
    const std::string target = dir + "\\" + name;
    CopyFileA(source.c_str(), target.c_str(), FALSE);
    return target;
}

unsigned CountGroups(const std::string& path) {
    return ExtractFileIcons(path.c_str(), 0, 48, 48, nullptr, nullptr, 0, LR_COLOR);
}

struct ScopedIcons {
    HICON icons[8] = {};
    ~ScopedIcons() {
        for (HICON icon : icons)
            if (icon) DestroyIcon(icon);
    }
};

TEST(ExtractFileIcons, GroupCountsEqualWrestoolOnEveryWineImage) {
    const std::string listing = TestFilesDirectory() + "\\group-counts.txt";
    std::ifstream in(listing);
    ASSERT_TRUE(in) << listing;
    std::string line;
    int files = 0, withGroups = 0, pe64WithGroups = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string dir, name;
        unsigned expected = 0;
        ASSERT_TRUE(fields >> dir >> name >> expected) << line;
        ++files;
        if (expected > 0) ++withGroups;
        if (expected > 0 && dir.find("x86_64") != std::string::npos) ++pe64WithGroups;
        EXPECT_EQ(CountGroups(WinePath(dir) + "\\" + name), expected) << dir << "/" << name;
    }
    EXPECT_GT(files, 1000);
    EXPECT_GT(withGroups, 20);
    EXPECT_GT(pe64WithGroups, 10);
    std::printf("%d files, %d with icon groups (%d 64-bit)\n", files, withGroups, pe64WithGroups);
}

TEST(ExtractFileIcons, FortyEightPixelIconsOfRealPrograms) {
    for (const char* name : {"notepad.exe", "regedit.exe", "winefile.exe", "shell32.dll"}) {
        ScopedIcons slot;
        int id = 12345;
        const std::string path = Wine32Directory() + "\\" + name;
        ASSERT_EQ(ExtractFileIcons(path.c_str(), 0, 48, 48, slot.icons, &id, 1, LR_COLOR), 1u) << name;
        ASSERT_NE(slot.icons[0], nullptr) << name;
        EXPECT_GT(id, 0) << name;
        const IconBits bits = ReadIconBits(slot.icons[0]);
        EXPECT_EQ(bits.width, 48) << name;
        EXPECT_EQ(bits.height, 48) << name;
    }
}

TEST(ExtractFileIcons, SeveralGroupsByPositionAndIdentifier) {
    const std::string shell32 = Wine32Directory() + "\\shell32.dll";
    ScopedIcons slots;
    int ids[8];
    std::fill(std::begin(ids), std::end(ids), -7);
    EXPECT_EQ(ExtractFileIcons(shell32.c_str(), 2, 32, 32, slots.icons, ids, 5, LR_COLOR), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(slots.icons[i], nullptr) << i;
        EXPECT_GT(ids[i], 0) << i;
    }
    EXPECT_EQ(ids[5], -7);  // untouched beyond count

    // By identifier: shell32's group named 3 exists, 2 and 1 too.
    ScopedIcons byId;
    EXPECT_EQ(ExtractFileIcons(shell32.c_str(), -3, 16, 16, byId.icons, nullptr, 3, LR_COLOR), 3u);
    // The walk stops at the first missing group and counts what it made.
    const unsigned groups = CountGroups(shell32);
    ScopedIcons tail;
    EXPECT_EQ(ExtractFileIcons(shell32.c_str(), static_cast<int>(groups) - 2, 16, 16, tail.icons, nullptr, 5,
                               LR_COLOR),
              2u);
    EXPECT_EQ(ExtractFileIcons(shell32.c_str(), -999999, 16, 16, tail.icons + 2, nullptr, 1, LR_COLOR), 0u);
    EXPECT_EQ(tail.icons[2], nullptr);
}

TEST(ExtractFileIcons, ExtensionsDecideBeforeTheFileIsOpened) {
    const std::string dir = MakeScratchDirectory("ext");
    for (const char* name : {"a.bat", "b.BAT", "c.Cmd", "d.com", "e.PIF", "f.lnk", "g.LNK"}) {
        const std::string copy = CopyAs(NotepadPath(), dir, name);
        ScopedIcons slot;
        slot.icons[0] = reinterpret_cast<HICON>(1);  // must be cleared on entry
        int id = 99;
        EXPECT_EQ(ExtractFileIcons(copy.c_str(), 0, 48, 48, slot.icons, &id, 1, LR_COLOR), 0u) << name;
        EXPECT_EQ(slot.icons[0], nullptr);
        EXPECT_EQ(id, -1);
        EXPECT_EQ(CountGroups(copy), 0u) << name;
    }
    // Any other extension, or none: the contents decide.
    for (const char* name : {"h.txt", "i.EXE", "noextension", "j.ico"}) {
        EXPECT_EQ(CountGroups(CopyAs(NotepadPath(), dir, name)), 1u) << name;
    }
    // A file without extension in a directory named x.bat: the last dot of the
    // whole path decides.
    const std::string batDir = dir + "\\x.bat";
    CreateDirectoryA(batDir.c_str(), nullptr);
    EXPECT_EQ(CountGroups(CopyAs(NotepadPath(), batDir, "program")), 0u);
}

TEST(ExtractFileIcons, ShortUnknownAndMissingFiles) {
    const std::string dir = MakeScratchDirectory("short");
    const std::vector<std::uint8_t> mz = ReadFileBytes(NotepadPath());
    for (std::size_t n : {0, 1, 2, 11}) {
        const std::string path = dir + "\\short" + std::to_string(n) + ".exe";
        WriteFileBytes(path, std::vector<std::uint8_t>(mz.begin(), mz.begin() + static_cast<long>(n)));
        EXPECT_EQ(CountGroups(path), 0u) << n;
    }
    const std::string unknown = dir + "\\unknown.exe";
    WriteFileBytes(unknown, {'\x7f', 'E', 'L', 'F', 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(CountGroups(unknown), 0u);
    // "MZ" but no PE headers behind it.
    const std::string dosOnly = dir + "\\dos.exe";
    std::vector<std::uint8_t> dos(mz.begin(), mz.begin() + 64);
    dos[0x3C] = 0xF0;
    dos[0x3D] = 0xFF;
    WriteFileBytes(dosOnly, dos);
    EXPECT_EQ(CountGroups(dosOnly), 0u);
    EXPECT_EQ(CountGroups(dir + "\\missing.exe"), 0u);
    EXPECT_EQ(ExtractFileIcons(nullptr, 0, 48, 48, nullptr, nullptr, 0, 0), 0u);
    EXPECT_EQ(CountGroups(std::string(300, 'a') + ".exe"), 0u);  // longer than a path: refused
}

TEST(ExtractFileIcons, PathVariablesAreExpanded) {
    SetEnvironmentVariableA("VELMORA_WINE_DIR", Wine32Directory().c_str());
    SetEnvironmentVariableA("VELMORA_UNSET_NAME", nullptr);
    EXPECT_EQ(CountGroups("%VELMORA_WINE_DIR%\\notepad.exe"), 1u);
    EXPECT_EQ(CountGroups("%VELMORA_WINE_DIR%\\%VELMORA_UNSET_NAME%notepad.exe"), 1u);
    // A single "%" leaves the path as written.
    const std::string dir = MakeScratchDirectory("percent");
    EXPECT_EQ(CountGroups(CopyAs(NotepadPath(), dir, "100%.exe")), 1u);
    // An expansion that does not fit is refused; the path, searched as
    // written, names no file.
    SetEnvironmentVariableA("VELMORA_LONG_DIR", (Wine32Directory() + std::string(240, '\\')).c_str());
    EXPECT_EQ(CountGroups("%VELMORA_LONG_DIR%\\notepad.exe"), 0u);
}

TEST(ExtractFileIcons, ReadOnlyFileStillYieldsItsIcon) {
    // Opened for attribute writing when allowed, for reading alone otherwise.
    const std::string dir = MakeScratchDirectory("readonly");
    const std::string copy = CopyAs(NotepadPath(), dir, "locked.exe");
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY);
    ScopedIcons slot;
    EXPECT_EQ(ExtractFileIcons(copy.c_str(), 0, 48, 48, slot.icons, nullptr, 1, LR_COLOR), 1u);
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(ExtractFileIcons, IconAndCursorFiles) {
    const std::string ico = TestFilesDirectory() + "\\shell32-1.ico";
    EXPECT_EQ(CountGroups(ico), 1u);
    for (int size : {16, 32, 48}) {
        ScopedIcons slot;
        ASSERT_EQ(ExtractFileIcons(ico.c_str(), 0, size, size, slot.icons, nullptr, 1, LR_COLOR), 1u);
        const IconBits bits = ReadIconBits(slot.icons[0]);
        EXPECT_EQ(bits.width, size);
        EXPECT_EQ(bits.height, size);
    }
    ScopedIcons second;
    EXPECT_EQ(ExtractFileIcons(ico.c_str(), 1, 48, 48, second.icons, nullptr, 1, LR_COLOR), 0u);

    const std::string cursor = TestFilesDirectory() + "\\arrow.cur";
    ScopedIcons cursorSlot;
    EXPECT_EQ(ExtractFileIcons(cursor.c_str(), 0, 32, 32, cursorSlot.icons, nullptr, 1, 0), 1u);
    EXPECT_NE(cursorSlot.icons[0], nullptr);

    // An animated cursor: a RIFF "ACON" form with an "anih" header and one
    // frame, the cursor file above, in a "LIST" "fram" chunk.
    const std::vector<std::uint8_t> frame = ReadFileBytes(cursor);
    ASSERT_FALSE(frame.empty());
    std::vector<std::uint8_t> ani;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) ani.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto tag = [&](const char* t) { ani.insert(ani.end(), t, t + 4); };
    tag("RIFF");
    put32(0);
    tag("ACON");
    tag("anih");
    put32(36);
    for (std::uint32_t v : {36u, 1u, 1u, 0u, 0u, 0u, 0u, 10u, 1u})
        put32(v);  // one frame, one step, icon flag
    tag("LIST");
    put32(static_cast<std::uint32_t>(4 + 8 + frame.size() + (frame.size() & 1)));
    tag("fram");
    tag("icon");
    put32(static_cast<std::uint32_t>(frame.size()));
    ani.insert(ani.end(), frame.begin(), frame.end());
    if (frame.size() & 1) ani.push_back(0);
    const std::uint32_t riffSize = static_cast<std::uint32_t>(ani.size() - 8);
    for (int i = 0; i < 4; ++i) ani[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    const std::string dir = MakeScratchDirectory("ani");
    const std::string aniPath = dir + "\\busy.ani";
    WriteFileBytes(aniPath, ani);
    ScopedIcons aniSlot;
    EXPECT_EQ(ExtractFileIcons(aniPath.c_str(), 0, 32, 32, aniSlot.icons, nullptr, 1, 0), 1u);
    EXPECT_NE(aniSlot.icons[0], nullptr);
    EXPECT_EQ(CountGroups(aniPath), 1u);

    // A RIFF file of another form is no cursor.
    ani[8] = 'W';
    WriteFileBytes(aniPath, ani);
    EXPECT_EQ(CountGroups(aniPath), 0u);
}

// A 24-bit bottom-up bitmap file of 4 x 4 pixels given top row first as
// 0xRRGGBB values.
std::vector<std::uint8_t> BitmapFile(const std::uint32_t (&pixels)[4][4]) {
    std::vector<std::uint8_t> b(54 + 4 * 12, 0);
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, static_cast<std::uint32_t>(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 4, 4);
    put(22, 4, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) put(54 + (3 - y) * 12 + x * 3, pixels[y][x], 3);
    return b;
}

TEST(ExtractFileIcons, BitmapTopLeftColourBecomesTransparent) {
    const std::uint32_t K = 0x00FF00, R = 0xFF0000, B = 0x0000FF;
    const std::uint32_t pixels[4][4] = {{K, R, R, K}, {R, K, B, R}, {R, B, K, R}, {K, R, R, K}};
    const std::string dir = MakeScratchDirectory("bmp");
    const std::string path = dir + "\\picture.bmp";
    ASSERT_TRUE(WriteFileBytes(path, BitmapFile(pixels)));
    EXPECT_EQ(CountGroups(path), 1u);
    ScopedIcons slot;
    ASSERT_EQ(ExtractFileIcons(path.c_str(), 0, 4, 4, slot.icons, nullptr, 1, LR_CREATEDIBSECTION), 1u);
    const IconBits bits = ReadIconBits(slot.icons[0]);
    ASSERT_EQ(bits.width, 4);
    ASSERT_TRUE(bits.hasColour);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const int row = 3 - y;  // DIB rows are bottom-up
            const bool transparent = (bits.mask[row * 4] >> (7 - x)) & 1;
            const std::uint8_t* p = &bits.colour[(row * 4 + x) * 4];
            const std::uint32_t rgb = (p[2] << 16) | (p[1] << 8) | p[0];
            EXPECT_EQ(transparent, pixels[y][x] == K) << x << "," << y;
            EXPECT_EQ(rgb, pixels[y][x] == K ? 0u : pixels[y][x]) << x << "," << y;
        }
    }
    ScopedIcons second;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), 1, 4, 4, second.icons, nullptr, 1, 0), 0u);
}

}  // namespace
}  // namespace velmora
