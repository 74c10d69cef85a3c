// ExtractFileIcons under Wine: which slots a call writes and what it counts,
// on built executables (compressed images, images the platform cannot turn
// into an icon, groups selected across identifier 0), on every kind of file
// with an array of no slots, count-only calls that leave no icon behind, and
// the last-access time of the file read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icons/extract_icons.h"
#include "icons/pe_resources.h"
#include "tests/icons/test_image.h"
#include "tests/icons/win32_test_support.h"

namespace velmora {
namespace {

using namespace velmora::testing;

const HICON kUntouched = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x5A5A));
constexpr int kUntouchedId = -77;

const std::vector<std::uint8_t> kPngImage = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};

// A 40-byte bitmap header of a 0 x 0 image: a DIB by its header size, but
// nothing the platform can build an icon from.
std::vector<std::uint8_t> EmptyDibImage() {
    std::vector<std::uint8_t> image(40, 0);
    Store32(image, 0, 40);
    return image;
}

// Groups with one image each: group identifier -> image identifier, image.
struct GroupOfOne {
    std::uint32_t groupId;
    std::uint16_t imageId;
    std::vector<std::uint8_t> image;
};

std::string WriteImage(const std::string& name, const std::vector<GroupOfOne>& groups) {
    std::vector<TestResource> resources;
    for (const GroupOfOne& g : groups) {
        resources.push_back(
            {kResourceTypeGroupIcon, g.groupId, 0x409, BuildTestIconGroup({{32, 32, 32, g.imageId}})});
        resources.push_back({kResourceTypeIcon, g.imageId, 0x409, g.image});
    }
    const std::string path = MakeScratchDirectory("slots") + "\\" + name;
    EXPECT_TRUE(WriteFileBytes(path, BuildTestImage(false, resources)));
    return path;
}

// Icon slots pre-filled with a marker; icons made by the call are destroyed.
struct Slots {
    HICON icons[4] = {kUntouched, kUntouched, kUntouched, kUntouched};
    int ids[4] = {kUntouchedId, kUntouchedId, kUntouchedId, kUntouchedId};
    ~Slots() {
        for (HICON icon : icons)
            if (icon != nullptr && icon != kUntouched) DestroyIcon(icon);
    }
};

std::vector<std::uint8_t> SolidImage(std::uint32_t argb) { return BuildTestIconImage(32, argb); }

TEST(ExtractFileIconsSlots, CompressedImageEndsTheWalkWithTheCountMadeBefore) {
    const std::string path = WriteImage(
        "png.exe", {{1, 11, SolidImage(0xFF112233)}, {2, 12, kPngImage}, {3, 13, SolidImage(0xFF445566)}});
    Slots slots;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), 0, 32, 32, slots.icons, slots.ids, 3, LR_COLOR), 1u);
    EXPECT_NE(slots.icons[0], nullptr);
    EXPECT_EQ(slots.ids[0], 11);
    EXPECT_EQ(slots.icons[1], kUntouched) << "the compressed image's slot is not written";
    EXPECT_EQ(slots.ids[1], kUntouchedId);
    EXPECT_EQ(slots.icons[2], kUntouched);

    Slots first;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), 1, 32, 32, first.icons, first.ids, 2, LR_COLOR), 0u)
        << "a compressed first image gives 0";
    EXPECT_EQ(first.icons[0], nullptr);
    EXPECT_EQ(first.ids[0], -1);
}

TEST(ExtractFileIconsSlots, ASlotIsCountedWhenThePlatformMakesNoIcon) {
    const std::string path =
        WriteImage("empty.exe", {{1, 21, EmptyDibImage()}, {2, 22, SolidImage(0xFF778899)}});
    Slots slots;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), 0, 32, 32, slots.icons, slots.ids, 2, LR_COLOR), 2u);
    EXPECT_EQ(slots.icons[0], nullptr);
    EXPECT_EQ(slots.ids[0], 21);
    EXPECT_NE(slots.icons[1], nullptr);
    EXPECT_NE(slots.icons[1], kUntouched);
    EXPECT_EQ(slots.ids[1], 22);
    EXPECT_EQ(slots.icons[2], kUntouched);
}

TEST(ExtractFileIconsSlots, ANegativeFirstIndexCrossesFromIdentifiersToPositions) {
    // Groups 1, 5 and 7 lie at positions 0, 1 and 2. From -1: identifier 1,
    // then position 0 (identifier 1 again), then position 1 (identifier 5).
    const std::string path = WriteImage(
        "cross.exe",
        {{1, 31, SolidImage(0xFF000031)}, {5, 35, SolidImage(0xFF000035)}, {7, 37, SolidImage(0xFF000037)}});
    Slots slots;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), -1, 32, 32, slots.icons, slots.ids, 3, LR_COLOR), 3u);
    EXPECT_EQ(std::vector<int>(slots.ids, slots.ids + 4), (std::vector<int>{31, 31, 35, kUntouchedId}));
    // From -2: identifier 2 does not exist, so nothing at all.
    Slots none;
    EXPECT_EQ(ExtractFileIcons(path.c_str(), -2, 32, 32, none.icons, none.ids, 3, LR_COLOR), 0u);
    EXPECT_EQ(none.icons[1], kUntouched);
}

// The bitmap file of 2 x 2 pixels, 24 bits, for the bitmap branch.
std::vector<std::uint8_t> TinyBitmapFile() {
    std::vector<std::uint8_t> b(54 + 2 * 8, 0x40);
    std::fill(b.begin(), b.begin() + 54, 0);
    b[0] = 'B';
    b[1] = 'M';
    Store32(b, 2, static_cast<std::uint32_t>(b.size()));
    Store32(b, 10, 54);
    Store32(b, 14, 40);
    Store32(b, 18, 2);
    Store32(b, 22, 2);
    Store16(b, 26, 1);
    Store16(b, 28, 24);
    return b;
}

// One file of every kind that yields an icon.
std::vector<std::string> OneFileOfEachKind() {
    const std::string dir = MakeScratchDirectory("kinds");
    const std::string bitmap = dir + "\\tiny.bmp";
    WriteFileBytes(bitmap, TinyBitmapFile());
    return {Wine32Directory() + "\\notepad.exe", TestFilesDirectory() + "\\shell32-1.ico",
            TestFilesDirectory() + "\\arrow.cur", bitmap};
}

TEST(ExtractFileIconsSlots, AnArrayOfNoSlotsIsNeverWritten) {
    for (const std::string& path : OneFileOfEachKind()) {
        ASSERT_EQ(ExtractFileIcons(path.c_str(), 0, 32, 32, nullptr, nullptr, 0, 0), 1u) << path;
        Slots slots;
        EXPECT_EQ(ExtractFileIcons(path.c_str(), 0, 32, 32, slots.icons, slots.ids, 0, LR_COLOR), 0u) << path;
        EXPECT_EQ(slots.icons[0], kUntouched) << path;
        EXPECT_EQ(slots.ids[0], kUntouchedId) << path;
        // With room for one, the one slot is filled and no other.
        Slots one;
        EXPECT_EQ(ExtractFileIcons(path.c_str(), 0, 32, 32, one.icons, one.ids, 1, LR_COLOR), 1u) << path;
        EXPECT_NE(one.icons[0], nullptr) << path;
        EXPECT_EQ(one.icons[1], kUntouched) << path;
        EXPECT_EQ(one.ids[1], kUntouchedId) << path;
    }
}

TEST(ExtractFileIconsSlots, ACountOnlyCallLeavesNoIconBehind) {
    // The probe sees a leak: an icon made in between takes the freed slot.
    const HandleProbe leakCheck;
    HICON leaked = CreateTestIcon();
    EXPECT_FALSE(leakCheck.NothingCreatedSince());
    EXPECT_FALSE(leakCheck.NothingLeftSince());
    DestroyIcon(leaked);

    // An executable is counted from its resources alone: not one icon made.
    const std::string notepad = Wine32Directory() + "\\notepad.exe";
    const HandleProbe exeCheck;
    EXPECT_EQ(ExtractFileIcons(notepad.c_str(), 0, 48, 48, nullptr, nullptr, 0, LR_COLOR), 1u);
    EXPECT_EQ(ExtractFileIcons(notepad.c_str(), 0, 48, 48, nullptr, nullptr, 5, LR_COLOR), 1u);
    EXPECT_TRUE(exeCheck.NothingCreatedSince());

    // The other kinds are loaded to prove they load, and released again.
    for (const std::string& path : OneFileOfEachKind()) {
        const HandleProbe check;
        EXPECT_EQ(ExtractFileIcons(path.c_str(), 0, 48, 48, nullptr, nullptr, 1, LR_COLOR), 1u) << path;
        EXPECT_TRUE(check.NothingLeftSince()) << path;
    }
}

FILETIME LastAccess(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastAccessTime;
}

TEST(ExtractFileIconsSlots, TheLastAccessTimeStaysAsItWas) {
    const std::string dir = MakeScratchDirectory("atime");
    const std::string copy = dir + "\\old.exe";
    ASSERT_TRUE(CopyFileA((Wine32Directory() + "\\notepad.exe").c_str(), copy.c_str(), FALSE));
    // 2001-01-01, older than the file's last change: a plain read would
    // move it to now.
    SYSTEMTIME old{2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME oldTime{};
    SystemTimeToFileTime(&old, &oldTime);
    for (DWORD attributes : {FILE_ATTRIBUTE_NORMAL, FILE_ATTRIBUTE_READONLY}) {
        SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        {
            HANDLE file = CreateFileA(copy.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(file, INVALID_HANDLE_VALUE);
            SetFileTime(file, nullptr, &oldTime, nullptr);
            CloseHandle(file);
        }
        SetFileAttributesA(copy.c_str(), attributes);
        Slots slots;
        ASSERT_EQ(ExtractFileIcons(copy.c_str(), 0, 48, 48, slots.icons, nullptr, 1, LR_COLOR), 1u);
        EXPECT_EQ(ExtractFileIcons(copy.c_str(), 0, 48, 48, nullptr, nullptr, 0, LR_COLOR), 1u);
        const FILETIME after = LastAccess(copy);
        EXPECT_EQ(after.dwHighDateTime, oldTime.dwHighDateTime) << attributes;
        EXPECT_EQ(after.dwLowDateTime, oldTime.dwLowDateTime) << attributes;
    }
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace velmora
