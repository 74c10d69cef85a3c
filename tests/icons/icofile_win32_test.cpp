// AfxSaveHICON2File under Wine: exact layout, round trip through the
// platform's loader, monochrome icons, and targets left alone on failure.
#include <gtest/gtest.h>

#include "icons/byte_reader.h"
#include "icons/extract_icons.h"
#include "tests/icons/test_image.h"
#include "tests/icons/win32_test_support.h"
#include "velmora/icofile.h"

namespace velmora {
namespace {

using namespace velmora::testing;

struct OwnedIcon {
    HICON icon = nullptr;
    ~OwnedIcon() {
        if (icon) DestroyIcon(icon);
    }
};

OwnedIcon ExtractShellIcon(int firstIndex, int size) {
    OwnedIcon owned;
    const std::string shell32 = Wine32Directory() + "\\shell32.dll";
    ExtractFileIcons(shell32.c_str(), firstIndex, size, size, &owned.icon, nullptr, 1, LR_COLOR);
    return owned;
}

TEST(AfxSaveHICON2File, RoundTripKeepsEveryPixel) {
    const std::string dir = MakeScratchDirectory("roundtrip");
    const struct {
        int size;
        std::size_t fileBytes;
        std::uint8_t stored;
    } cases[] = {{32, 4286, 32}, {16, 1150, 16}, {48, 22 + 40 + 48 * 48 * 4 + 48 * 8, 48}};
    for (const auto& c : cases) {
        const OwnedIcon original = ExtractShellIcon(0, c.size);
        ASSERT_NE(original.icon, nullptr);
        const std::string path = dir + "\\icon" + std::to_string(c.size) + ".ico";
        AfxSaveHICON2File(original.icon, path.c_str());
        const std::vector<std::uint8_t> file = ReadFileBytes(path);
        ASSERT_EQ(file.size(), c.fileBytes) << c.size;
        const Bytes b(file);
        EXPECT_EQ(*ReadU16(b, 2), 1);
        EXPECT_EQ(*ReadU16(b, 4), 1);
        EXPECT_EQ(b[6], c.stored);
        EXPECT_EQ(b[7], c.stored);
        EXPECT_EQ(*ReadU16(b, 12), 32);
        EXPECT_EQ(*ReadU32(b, 14), c.fileBytes - 22);
        EXPECT_EQ(*ReadU32(b, 18), 22u);
        EXPECT_EQ(*ReadU32(b, 30), static_cast<std::uint32_t>(c.size * 2));

        OwnedIcon reloaded;
        reloaded.icon = static_cast<HICON>(
            LoadImageA(nullptr, path.c_str(), IMAGE_ICON, c.size, c.size, LR_LOADFROMFILE));
        ASSERT_NE(reloaded.icon, nullptr);
        const IconBits before = ReadIconBits(original.icon);
        const IconBits after = ReadIconBits(reloaded.icon);
        EXPECT_EQ(after.width, c.size);
        EXPECT_EQ(after.height, c.size);
        EXPECT_EQ(before.colour, after.colour) << c.size;
        EXPECT_EQ(before.mask, after.mask) << c.size;
    }
    EXPECT_EQ(*ReadU32(Bytes(ReadFileBytes(dir + "\\icon32.ico")), 14), 4264u);
}

TEST(AfxSaveHICON2File, LargestSizeStoresZero) {
    // Wine stores its 256-pixel images compressed, so the icon is built here.
    std::vector<std::uint8_t> image = BuildTestIconImage(256, 0xFF336699);
    OwnedIcon big;
    big.icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, 256,
                                        256, 0);
    ASSERT_NE(big.icon, nullptr);
    const std::string path = MakeScratchDirectory("big") + "\\big.ico";
    AfxSaveHICON2File(big.icon, path.c_str());
    const std::vector<std::uint8_t> file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), 22u + 40 + 256 * 256 * 4 + 256 * 32);
    EXPECT_EQ(file[6], 0);
    EXPECT_EQ(file[7], 0);
    EXPECT_EQ(*ReadU32(Bytes(file), 26), 256u);
}

TEST(AfxSaveHICON2File, MonochromeIconIsConverted) {
    // 32 x 32: AND mask 1 (transparent) in the left half, XOR 1 (white) in
    // the top rows.
    std::uint8_t andBits[32 * 4], xorBits[32 * 4];
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 4; ++x) {
            andBits[y * 4 + x] = x < 2 ? 0xFF : 0x00;
            xorBits[y * 4 + x] = y < 8 ? 0xFF : 0x00;
        }
    }
    OwnedIcon mono;
    mono.icon = CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andBits, xorBits);
    ASSERT_NE(mono.icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(mono.icon, &info));
    const bool monochrome = info.hbmColor == nullptr;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);

    const std::string path = MakeScratchDirectory("mono") + "\\mono.ico";
    AfxSaveHICON2File(mono.icon, path.c_str());
    const std::vector<std::uint8_t> file = ReadFileBytes(path);
    ASSERT_EQ(file.size(), 4286u) << (monochrome ? "monochrome" : "colour") << " icon";
    // Bottom-up: file row 31 is the top row. Top-right pixel: opaque white;
    // bottom-right: opaque black; left half: transparent in the mask.
    const std::size_t colour = 62;
    const std::size_t mask = 62 + 4096;
    auto pixel = [&](int x, int y) { return &file[colour + ((31 - y) * 32 + x) * 4]; };
    EXPECT_EQ(pixel(31, 0)[0], 0xFF);
    EXPECT_EQ(pixel(31, 0)[3], 0xFF);
    EXPECT_EQ(pixel(31, 31)[0], 0x00);
    EXPECT_EQ(pixel(31, 31)[3], 0xFF);
    EXPECT_EQ(file[mask + (31 - 5) * 4], 0xFF);
    EXPECT_EQ(file[mask + (31 - 5) * 4 + 3], 0x00);
    OwnedIcon reloaded;
    reloaded.icon =
        static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
    EXPECT_NE(reloaded.icon, nullptr);
}

TEST(AfxSaveHICON2File, FailuresLeaveTheTargetAsItWas) {
    const std::string dir = MakeScratchDirectory("failures");
    const std::string target = dir + "\\keep.ico";
    const std::vector<std::uint8_t> kept = {'k', 'e', 'e', 'p'};
    ASSERT_TRUE(WriteFileBytes(target, kept));
    const OwnedIcon icon = ExtractShellIcon(0, 32);
    ASSERT_NE(icon.icon, nullptr);

    AfxSaveHICON2File(nullptr, target.c_str());
    EXPECT_EQ(ReadFileBytes(target), kept);
    AfxSaveHICON2File(icon.icon, nullptr);
    AfxSaveHICON2File(reinterpret_cast<HICON>(static_cast<INT_PTR>(0x7ABC)), target.c_str());  // no such icon
    EXPECT_EQ(ReadFileBytes(target), kept);

    // A target that cannot be replaced.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    AfxSaveHICON2File(icon.icon, target.c_str());
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(target), kept);

    // A directory that does not exist: nothing is created anywhere.
    AfxSaveHICON2File(icon.icon, (dir + "\\missing\\x.ico").c_str());
    EXPECT_EQ(GetFileAttributesA((dir + "\\missing").c_str()), INVALID_FILE_ATTRIBUTES);

    // No temporary file is left behind by any of the failures.
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"keep.ico"});

    // And a good write replaces the old contents entirely.
    AfxSaveHICON2File(icon.icon, target.c_str());
    EXPECT_EQ(ReadFileBytes(target).size(), 4286u);
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"keep.ico"});
}

TEST(AfxSaveHICON2File, RelativePathAndGbkDirectory) {
    const std::string dir = MakeScratchDirectory("relative");
    // "测试\" : a GBK name whose second byte is no path separator, and one
    // ("\x95\x5C" is the GBK character 昞 whose second byte is 0x5C).
    const std::string gbkDir = dir + "\\\xB2\xE2\xCA\xD4\x95\x5C";
    ASSERT_TRUE(CreateDirectoryA(gbkDir.c_str(), nullptr)) << GetLastError();
    const OwnedIcon icon = ExtractShellIcon(0, 16);
    const std::string path = gbkDir + "\\\xCD\xBC\xB1\xEA.ico";
    AfxSaveHICON2File(icon.icon, path.c_str());
    EXPECT_EQ(ReadFileBytes(path).size(), 1150u);
    EXPECT_EQ(FilesIn(gbkDir).size(), 1u);

    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(dir.c_str());
    AfxSaveHICON2File(icon.icon, "plain.ico");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadFileBytes(dir + "\\plain.ico").size(), 1150u);
}

}  // namespace
}  // namespace velmora
