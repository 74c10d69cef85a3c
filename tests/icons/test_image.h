// Builds small executable images with a resource section, for tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace velmora::testing {

struct TestResource {
    std::uint32_t type;
    std::uint32_t name;  // identifier (no named entries)
    std::uint16_t language;
    std::vector<std::uint8_t> data;
};

inline void Store16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Store32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    Store16(b, at, v & 0xFFFF);
    Store16(b, at + 2, v >> 16);
}

constexpr std::uint32_t kTestLfanew = 0x40;
constexpr std::uint32_t kTestSectionRva = 0x3000;
constexpr std::uint32_t kTestSectionFile = 0x400;

// Offsets inside a built image, for tests that damage one field.
inline std::uint32_t TestOptionalHeaderSizeOffset() { return kTestLfanew + 0x14; }
inline std::uint32_t TestResourceRvaOffset(bool pe64) { return kTestLfanew + (pe64 ? 0x98 : 0x88); }
inline std::uint32_t TestSectionHeaderOffset(bool pe64) { return kTestLfanew + 0x18 + (pe64 ? 240 : 224); }

// An image with one section holding the resource tree (type, name, language)
// of `resources`, in the order the platform's linker writes: types and names
// sorted by identifier, languages in the order given.
inline std::vector<std::uint8_t> BuildTestImage(bool pe64, const std::vector<TestResource>& resources) {
    std::map<std::uint32_t, std::map<std::uint32_t, std::vector<const TestResource*>>> tree;
    for (const TestResource& r : resources) tree[r.type][r.name].push_back(&r);

    // Directories first (root, types, names), then data entries, then data.
    std::size_t size = 16 + 8 * tree.size();
    std::size_t nameDirs = 0, leaves = 0;
    for (auto& [type, names] : tree) {
        size += 16 + 8 * names.size();
        for (auto& [name, langs] : names) {
            ++nameDirs;
            leaves += langs.size();
        }
    }
    for (auto& [type, names] : tree)
        for (auto& [name, langs] : names) size += 16 + 8 * langs.size();
    const std::size_t dataEntries = size;
    size += 16 * leaves;
    std::size_t dataStart = size;
    for (const TestResource& r : resources) size += (r.data.size() + 3) & ~std::size_t{3};

    std::vector<std::uint8_t> rsrc(size, 0);
    std::size_t next = 16 + 8 * tree.size();  // next free directory position
    std::size_t nextEntry = dataEntries;
    std::size_t nextData = dataStart;
    auto header = [&](std::size_t at, std::size_t ids) {
        Store16(rsrc, at + 14, static_cast<std::uint32_t>(ids));
    };
    header(0, tree.size());
    std::size_t rootSlot = 16;
    std::vector<std::pair<std::size_t, const std::vector<const TestResource*>*>> languageDirs;
    for (auto& [type, names] : tree) {
        const std::size_t typeDir = next;
        next += 16 + 8 * names.size();
        Store32(rsrc, rootSlot, type);
        Store32(rsrc, rootSlot + 4, 0x80000000u | static_cast<std::uint32_t>(typeDir));
        rootSlot += 8;
        header(typeDir, names.size());
        std::size_t typeSlot = typeDir + 16;
        for (auto& [name, langs] : names) {
            Store32(rsrc, typeSlot, name);
            languageDirs.emplace_back(typeSlot, &langs);
            typeSlot += 8;
        }
    }
    for (auto& [slot, langs] : languageDirs) {
        const std::size_t langDir = next;
        next += 16 + 8 * langs->size();
        Store32(rsrc, slot + 4, 0x80000000u | static_cast<std::uint32_t>(langDir));
        header(langDir, langs->size());
        std::size_t langSlot = langDir + 16;
        for (const TestResource* r : *langs) {
            Store32(rsrc, langSlot, r->language);
            Store32(rsrc, langSlot + 4, static_cast<std::uint32_t>(nextEntry));
            Store32(rsrc, nextEntry, kTestSectionRva + static_cast<std::uint32_t>(nextData));
            Store32(rsrc, nextEntry + 4, static_cast<std::uint32_t>(r->data.size()));
            if (!r->data.empty()) std::memcpy(&rsrc[nextData], r->data.data(), r->data.size());
            nextData += (r->data.size() + 3) & ~std::size_t{3};
            nextEntry += 16;
            langSlot += 8;
        }
    }
    (void)nameDirs;

    std::vector<std::uint8_t> image(kTestSectionFile + rsrc.size(), 0);
    Store16(image, 0, 0x5A4D);
    Store32(image, 0x3C, kTestLfanew);
    Store32(image, kTestLfanew, 0x00004550);
    Store16(image, kTestLfanew + 4, pe64 ? 0x8664 : 0x14C);
    Store16(image, kTestLfanew + 6, 1);
    Store16(image, TestOptionalHeaderSizeOffset(), pe64 ? 240 : 224);
    const std::uint32_t optional = kTestLfanew + 0x18;
    Store16(image, optional, pe64 ? 0x20B : 0x10B);
    Store32(image, optional + (pe64 ? 108 : 92), 16);
    Store32(image, TestResourceRvaOffset(pe64), kTestSectionRva);
    Store32(image, TestResourceRvaOffset(pe64) + 4, static_cast<std::uint32_t>(rsrc.size()));
    const std::uint32_t section = TestSectionHeaderOffset(pe64);
    std::memcpy(&image[section], ".rsrc", 5);
    Store32(image, section + 8, static_cast<std::uint32_t>(rsrc.size()));
    Store32(image, section + 12, kTestSectionRva);
    Store32(image, section + 16, static_cast<std::uint32_t>(rsrc.size()));
    Store32(image, section + 20, kTestSectionFile);
    std::memcpy(&image[kTestSectionFile], rsrc.data(), rsrc.size());
    return image;
}

// An icon group whose entries are {width, height, bits, id}; a width of 256
// is stored as 0.
struct TestGroupEntry {
    int width, height, bits;
    std::uint16_t id;
    std::uint32_t bytes = 0;
};
inline std::vector<std::uint8_t> BuildTestIconGroup(const std::vector<TestGroupEntry>& entries) {
    std::vector<std::uint8_t> g(6 + 14 * entries.size(), 0);
    Store16(g, 2, 1);
    Store16(g, 4, static_cast<std::uint32_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 6 + 14 * i;
        g[at] = static_cast<std::uint8_t>(entries[i].width);
        g[at + 1] = static_cast<std::uint8_t>(entries[i].height);
        Store16(g, at + 4, 1);
        Store16(g, at + 6, static_cast<std::uint32_t>(entries[i].bits));
        Store32(g, at + 8, entries[i].bytes);
        Store16(g, at + 12, entries[i].id);
    }
    return g;
}

// An icon image as a DIB: 40-byte header, 32-bit pixels of one colour (blue,
// green, red, alpha bytes of 0xAARRGGBB), an all-opaque mask.
inline std::vector<std::uint8_t> BuildTestIconImage(int size, std::uint32_t argb) {
    const std::size_t colour = static_cast<std::size_t>(size) * size * 4;
    const std::size_t mask = static_cast<std::size_t>((size + 31) / 32) * 4 * size;
    std::vector<std::uint8_t> d(40 + colour + mask, 0);
    Store32(d, 0, 40);
    Store32(d, 4, static_cast<std::uint32_t>(size));
    Store32(d, 8, static_cast<std::uint32_t>(size * 2));
    Store16(d, 12, 1);
    Store16(d, 14, 32);
    Store32(d, 20, static_cast<std::uint32_t>(colour + mask));
    for (std::size_t i = 0; i < colour; i += 4) Store32(d, 40 + i, argb);
    return d;
}

}  // namespace velmora::testing
