// The resource walk over built images: both header layouts, selection by
// position and identifier, languages, and every kind of damaged field.
#include "icons/pe_resources.h"

#include <gtest/gtest.h>

#include "tests/icons/test_image.h"

namespace velmora {
namespace {

using testing::BuildTestIconGroup;
using testing::BuildTestIconImage;
using testing::BuildTestImage;
using testing::Store16;
using testing::Store32;
using testing::TestResource;

std::vector<TestResource> ThreeGroups() {
    return {
        {kResourceTypeGroupIcon, 100, 0x409, BuildTestIconGroup({{16, 16, 32, 1}, {48, 48, 32, 2}})},
        {kResourceTypeGroupIcon, 200, 0x409, BuildTestIconGroup({{32, 32, 32, 3}})},
        {kResourceTypeGroupIcon, 300, 0x409, BuildTestIconGroup({{256, 256, 32, 4}})},
        {kResourceTypeIcon, 1, 0x409, BuildTestIconImage(16, 0xFF000001)},
        {kResourceTypeIcon, 2, 0x409, BuildTestIconImage(48, 0xFF000002)},
        {kResourceTypeIcon, 3, 0x409, BuildTestIconImage(32, 0xFF000003)},
        {kResourceTypeIcon, 4, 0x409, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}},
        {6, 1, 0x409, {'s', 't', 'r'}},
    };
}

class BothLayouts : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Icons, BothLayouts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Pe32Plus" : "Pe32"; });

TEST_P(BothLayouts, FindsGroupsByPositionAndIdentifier) {
    const auto image = BuildTestImage(GetParam(), ThreeGroups());
    const auto directory = FindResourceDirectory(image);
    ASSERT_TRUE(directory);
    EXPECT_EQ(CountResourceEntries(*directory, kResourceTypeGroupIcon), 3u);
    EXPECT_EQ(CountResourceEntries(*directory, kResourceTypeIcon), 4u);
    EXPECT_EQ(CountResourceEntries(*directory, 24), 0u);

    const Bytes second = FindResourceData(*directory, 1, kResourceTypeGroupIcon);
    ASSERT_TRUE(IsIconGroup(second));
    EXPECT_EQ(PickIconImageId(second, 48, 48, 32), 3);
    const Bytes byId = FindResourceData(*directory, -200, kResourceTypeGroupIcon);
    EXPECT_EQ(byId.data(), second.data());
    EXPECT_EQ(byId.size(), second.size());

    EXPECT_TRUE(FindResourceData(*directory, 3, kResourceTypeGroupIcon).empty());
    EXPECT_TRUE(FindResourceData(*directory, -201, kResourceTypeGroupIcon).empty());
    EXPECT_TRUE(FindResourceData(*directory, INT64_MIN, kResourceTypeGroupIcon).empty());

    const Bytes first = FindResourceData(*directory, 0, kResourceTypeGroupIcon);
    const std::uint16_t id = PickIconImageId(first, 48, 48, 32);
    EXPECT_EQ(id, 2);
    const Bytes icon = FindResourceData(*directory, -static_cast<std::int64_t>(id), kResourceTypeIcon);
    ASSERT_TRUE(IsDibIconImage(icon));
    EXPECT_EQ(*ReadU32(icon, 4), 48u);
    // A compressed (PNG) image is not a DIB.
    EXPECT_FALSE(IsDibIconImage(FindResourceData(*directory, -4, kResourceTypeIcon)));
}

TEST(ResourceWalk, FirstLanguageIsTaken) {
    const auto image =
        BuildTestImage(false, {
                                  {kResourceTypeGroupIcon, 7, 0x804, BuildTestIconGroup({{16, 16, 8, 11}})},
                                  {kResourceTypeGroupIcon, 7, 0x409, BuildTestIconGroup({{32, 32, 8, 12}})},
                              });
    const auto directory = FindResourceDirectory(image);
    ASSERT_TRUE(directory);
    EXPECT_EQ(CountResourceEntries(*directory, kResourceTypeGroupIcon), 1u);
    EXPECT_EQ(PickIconImageId(FindResourceData(*directory, 0, kResourceTypeGroupIcon), 32, 32, 32), 11);
}

TEST(ResourceWalk, NamedTypeEntryNeverMatches) {
    auto image = BuildTestImage(false, ThreeGroups());
    const auto directory = FindResourceDirectory(image);
    ASSERT_TRUE(directory);
    // Turn the root's first entry (type 3) into a named entry whose name
    // offset happens to carry the identifier bits of type 3.
    Store32(image, directory->offset + 16, 0x80000003u);
    const auto damaged = FindResourceDirectory(image);
    EXPECT_EQ(CountResourceEntries(*damaged, kResourceTypeIcon), 0u);
    EXPECT_EQ(CountResourceEntries(*damaged, kResourceTypeGroupIcon), 3u);
}

TEST(ResourceWalk, HeaderChecksRefuseTheImage) {
    const auto good = BuildTestImage(false, ThreeGroups());
    struct Damage {
        const char* what;
        std::uint32_t offset;
        std::uint32_t value;
        int width;  // 2 or 4 bytes
    };
    const Damage damages[] = {
        {"no MZ", 0, 0x4D5A, 2},
        {"e_lfanew zero", 0x3C, 0, 4},
        {"e_lfanew negative", 0x3C, 0x80000040u, 4},
        {"e_lfanew beyond the file", 0x3C, static_cast<std::uint32_t>(good.size()), 4},
        {"e_lfanew at the last bytes", 0x3C, static_cast<std::uint32_t>(good.size() - 8), 4},
        {"no PE signature", testing::kTestLfanew, 0x00004551, 4},
        {"optional header too small", testing::TestOptionalHeaderSizeOffset(), 223, 2},
        {"unknown optional header magic", testing::kTestLfanew + 0x18, 0x107, 2},
        {"too few data directories", testing::kTestLfanew + 0x18 + 92, 2, 4},
        {"no resource directory", testing::TestResourceRvaOffset(false), 0, 4},
        {"resource directory outside every section", testing::TestResourceRvaOffset(false), 0x9000, 4},
        {"section data beyond the file", testing::TestSectionHeaderOffset(false) + 20, 0xFFFFFF00u, 4},
        {"section table beyond the file", testing::kTestLfanew + 6, 0xFFFF, 2},
    };
    for (const Damage& d : damages) {
        auto image = good;
        if (d.width == 2)
            Store16(image, d.offset, d.value);
        else
            Store32(image, d.offset, d.value);
        const bool tableOnly = std::string(d.what) == "section table beyond the file";
        if (tableOnly) {
            // The first section is still read before the table runs out.
            EXPECT_TRUE(FindResourceDirectory(image)) << d.what;
            continue;
        }
        EXPECT_FALSE(FindResourceDirectory(image)) << d.what;
    }
}

TEST(ResourceWalk, DirectoryAndDataChecks) {
    const auto good = BuildTestImage(false, ThreeGroups());
    const auto root = FindResourceDirectory(good)->offset;
    // Root: 2 types (3, 6, 14 sorted: 3 entries). Type 3 is the first entry.
    {
        auto image = good;
        Store16(image, root + 14, 0xFFFF);  // more root entries than the file holds
        EXPECT_EQ(CountResourceEntries(*FindResourceDirectory(image), kResourceTypeGroupIcon), 0u);
    }
    {
        auto image = good;
        Store32(image, root + 16 + 4, 0x80000000u | 0x7FFFFFF0u);  // type directory far outside
        EXPECT_EQ(CountResourceEntries(*FindResourceDirectory(image), kResourceTypeIcon), 0u);
    }
    {
        auto image = good;
        Store32(image, root + 16 + 4, 0x30);  // type entry without the subdirectory bit
        EXPECT_EQ(CountResourceEntries(*FindResourceDirectory(image), kResourceTypeIcon), 0u);
    }
    const auto directory = *FindResourceDirectory(good);
    const Bytes data = FindResourceData(directory, 0, kResourceTypeGroupIcon);
    ASSERT_FALSE(data.empty());
    // Find the data entry that points at this group and damage its size.
    const std::uint32_t rva =
        testing::kTestSectionRva +
        static_cast<std::uint32_t>(data.data() - good.data() - testing::kTestSectionFile);
    std::size_t entry = 0;
    for (std::size_t at = root; at + 8 <= good.size(); at += 4) {
        if (*ReadU32(good, at) == rva && *ReadU32(good, at + 4) == data.size()) {
            entry = at;
            break;
        }
    }
    ASSERT_NE(entry, 0u);
    {
        auto image = good;
        Store32(image, entry + 4, static_cast<std::uint32_t>(image.size()));
        EXPECT_TRUE(FindResourceData(*FindResourceDirectory(image), 0, kResourceTypeGroupIcon).empty());
    }
    {
        auto image = good;
        Store32(image, entry, 0x10);  // data outside every section
        EXPECT_TRUE(FindResourceData(*FindResourceDirectory(image), 0, kResourceTypeGroupIcon).empty());
    }
}

TEST(ResourceWalk, EveryTruncationStaysInside) {
    // Under the sanitizers any read past the copy is a failure; the walk must
    // simply find less.
    for (bool pe64 : {false, true}) {
        const auto good = BuildTestImage(pe64, ThreeGroups());
        for (std::size_t length = 0; length <= good.size(); ++length) {
            const std::vector<std::uint8_t> cut(good.begin(),
                                                good.begin() + static_cast<std::ptrdiff_t>(length));
            const auto directory = FindResourceDirectory(cut);
            if (!directory) continue;
            for (std::int64_t which : {0, 1, 2, -100, -300}) {
                const Bytes group = FindResourceData(*directory, which, kResourceTypeGroupIcon);
                if (group.empty()) continue;
                ASSERT_GE(group.data(), cut.data());
                ASSERT_LE(group.data() + group.size(), cut.data() + cut.size());
                FindResourceData(*directory, -PickIconImageId(group, 48, 48, 32), kResourceTypeIcon);
            }
        }
    }
}

TEST(RvaToFilePointer, SectionExtents) {
    auto image = BuildTestImage(false, ThreeGroups());
    const std::uint32_t section = testing::TestSectionHeaderOffset(false);
    EXPECT_EQ(RvaToFilePointer(image, testing::kTestSectionRva + 4),
              image.data() + testing::kTestSectionFile + 4);
    EXPECT_EQ(RvaToFilePointer(image, testing::kTestSectionRva - 1), nullptr);
    const std::uint32_t rawSize = *ReadU32(image, section + 16);
    EXPECT_EQ(RvaToFilePointer(image, testing::kTestSectionRva + rawSize), nullptr);
    // A virtual size of 0 falls back to the raw size; a larger virtual size
    // still never points past the file.
    Store32(image, section + 8, 0);
    EXPECT_NE(RvaToFilePointer(image, testing::kTestSectionRva + rawSize - 1), nullptr);
    Store32(image, section + 8, rawSize + 0x1000);
    EXPECT_EQ(RvaToFilePointer(image, testing::kTestSectionRva + rawSize + 0x10), nullptr);
    // rva - virtual address must not wrap.
    Store32(image, section + 12, 0xFFFFFF00u);
    EXPECT_EQ(RvaToFilePointer(image, 0x10), nullptr);
}

TEST(IconGroup, ChecksAndChoice) {
    EXPECT_FALSE(IsIconGroup({}));
    auto group = BuildTestIconGroup({{16, 16, 4, 1}, {32, 32, 4, 2}, {32, 32, 32, 3}, {256, 256, 32, 4}});
    EXPECT_TRUE(IsIconGroup(group));
    EXPECT_EQ(PickIconImageId(group, 32, 32, 32), 3);
    EXPECT_EQ(PickIconImageId(group, 32, 32, 8), 2);     // deepest not above the screen's depth
    EXPECT_EQ(PickIconImageId(group, 256, 256, 32), 4);  // stored as 0
    EXPECT_EQ(PickIconImageId(group, 20, 20, 32), 1);
    // Every image deeper than asked: the shallowest of them; of equal ones the first.
    const auto deep = BuildTestIconGroup({{32, 32, 32, 5}, {32, 32, 8, 6}, {32, 32, 24, 7}, {32, 32, 8, 8}});
    EXPECT_EQ(PickIconImageId(deep, 32, 32, 4), 6);
    EXPECT_EQ(PickIconImageId(deep, 32, 32, 24), 7);
    // One entry short of what the count says.
    const std::vector<std::uint8_t> cut(group.begin(), group.end() - 1);
    EXPECT_FALSE(IsIconGroup(cut));
    EXPECT_EQ(PickIconImageId(cut, 32, 32, 32), 0);
    Store16(group, 2, 2);  // a cursor group is not an icon group
    EXPECT_FALSE(IsIconGroup(group));

    const auto dib = BuildTestIconImage(16, 0);
    EXPECT_TRUE(IsDibIconImage(dib));
    EXPECT_FALSE(IsDibIconImage(Bytes(dib).first(39)));
    std::vector<std::uint8_t> core(12, 0);
    Store32(core, 0, 12);
    EXPECT_TRUE(IsDibIconImage(core));
}

}  // namespace
}  // namespace velmora
