#include "icons/pe_resources.h"

#include <cstdlib>
#include <tuple>

namespace velmora {
namespace {

constexpr std::uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kSubdirectoryBit = 0x80000000u;
constexpr std::uint32_t kResourceDirectoryIndex = 2;

// The two optional-header layouts differ in where the data directories start
// (the 64-bit one widens the image base and the four stack and heap sizes);
// the size minimum is that of a header with all sixteen directories, which
// is what linkers write.
struct OptionalHeaderLayout {
    std::uint16_t magic;
    std::uint32_t numberOfRvaAndSizesOffset;
    std::uint32_t dataDirectoryOffset;
    std::uint32_t minimumSize;
};
constexpr OptionalHeaderLayout kPe32Layout{0x10B, 92, 96, 224};
constexpr OptionalHeaderLayout kPe32PlusLayout{0x20B, 108, 112, 240};

constexpr std::uint32_t kNtFileHeaderOffset = 4;
constexpr std::uint32_t kNumberOfSectionsOffset = kNtFileHeaderOffset + 2;
constexpr std::uint32_t kSizeOfOptionalHeaderOffset = kNtFileHeaderOffset + 16;
constexpr std::uint32_t kOptionalHeaderOffset = kNtFileHeaderOffset + 20;
constexpr std::uint32_t kSectionHeaderSize = 40;

constexpr std::uint32_t kDirectoryHeaderSize = 16;
constexpr std::uint32_t kDirectoryEntrySize = 8;

constexpr std::size_t kGroupHeaderSize = 6;
constexpr std::size_t kGroupEntrySize = 14;

// e_lfanew, checked to leave room for the NT signature and file header.
std::optional<std::uint32_t> NtHeadersOffset(Bytes image) noexcept {
    if (ReadU16(image, 0) != kDosSignature) return std::nullopt;
    const auto lfanew = ReadU32(image, 0x3C);
    if (!lfanew || static_cast<std::int32_t>(*lfanew) <= 0 || *lfanew >= image.size()) return std::nullopt;
    if (!FitsIn(image.size(), *lfanew, kOptionalHeaderOffset)) return std::nullopt;
    return *lfanew;
}

// A directory header at `offset` from the root, with all of its entries
// inside the image. Returns the file offset of the first entry.
std::optional<std::size_t> DirectoryEntries(const ResourceDirectory& root, std::uint32_t offset,
                                            std::uint32_t& entryCount) noexcept {
    entryCount = 0;
    const std::uint64_t header = static_cast<std::uint64_t>(root.offset) + offset;
    if (!FitsIn(root.image.size(), header, kDirectoryHeaderSize)) return std::nullopt;
    const std::uint32_t named = *ReadU16(root.image, header + 12);
    const std::uint32_t identified = *ReadU16(root.image, header + 14);
    const std::uint32_t count = named + identified;
    const std::uint64_t first = header + kDirectoryHeaderSize;
    if (!FitsIn(root.image.size(), first, static_cast<std::uint64_t>(count) * kDirectoryEntrySize)) {
        return std::nullopt;
    }
    entryCount = count;
    return static_cast<std::size_t>(first);
}

std::uint32_t EntryName(Bytes image, std::size_t entry) noexcept { return *ReadU32(image, entry); }
std::uint32_t EntryOffset(Bytes image, std::size_t entry) noexcept { return *ReadU32(image, entry + 4); }

}  // namespace

const std::uint8_t* RvaToFilePointer(Bytes image, std::uint32_t rva) noexcept {
    const auto nt = NtHeadersOffset(image);
    if (!nt) return nullptr;
    const auto sections = ReadU16(image, *nt + kNumberOfSectionsOffset);
    const auto optionalSize = ReadU16(image, *nt + kSizeOfOptionalHeaderOffset);
    if (!sections || !optionalSize) return nullptr;
    const std::uint64_t table = static_cast<std::uint64_t>(*nt) + kOptionalHeaderOffset + *optionalSize;
    for (std::uint32_t i = 0; i < *sections; ++i) {
        const std::uint64_t header = table + static_cast<std::uint64_t>(i) * kSectionHeaderSize;
        if (!FitsIn(image.size(), header, kSectionHeaderSize)) return nullptr;
        const std::uint32_t virtualSize = *ReadU32(image, header + 8);
        const std::uint32_t virtualAddress = *ReadU32(image, header + 12);
        const std::uint32_t rawSize = *ReadU32(image, header + 16);
        const std::uint32_t rawPointer = *ReadU32(image, header + 20);
        const std::uint64_t extent = virtualSize != 0 ? virtualSize : rawSize;
        if (rva < virtualAddress || rva - virtualAddress >= extent) continue;
        const std::uint64_t position = static_cast<std::uint64_t>(rawPointer) + (rva - virtualAddress);
        if (position >= image.size()) return nullptr;
        return image.data() + position;
    }
    return nullptr;
}

std::optional<ResourceDirectory> FindResourceDirectory(Bytes image) noexcept {
    const auto nt = NtHeadersOffset(image);
    if (!nt || ReadU32(image, *nt) != kNtSignature) return std::nullopt;
    const auto optionalSize = ReadU16(image, *nt + kSizeOfOptionalHeaderOffset);
    const std::uint64_t optional = static_cast<std::uint64_t>(*nt) + kOptionalHeaderOffset;
    const auto magic = ReadU16(image, optional);
    if (!optionalSize || !magic) return std::nullopt;

    const OptionalHeaderLayout* layout = nullptr;
    if (*magic == kPe32Layout.magic) {
        layout = &kPe32Layout;
    } else if (*magic == kPe32PlusLayout.magic) {
        layout = &kPe32PlusLayout;
    } else {
        return std::nullopt;
    }
    if (*optionalSize < layout->minimumSize) return std::nullopt;
    const auto directoryCount = ReadU32(image, optional + layout->numberOfRvaAndSizesOffset);
    if (!directoryCount || *directoryCount <= kResourceDirectoryIndex) return std::nullopt;
    const auto rva = ReadU32(image, optional + layout->dataDirectoryOffset + 8 * kResourceDirectoryIndex);
    if (!rva || *rva == 0) return std::nullopt;

    const std::uint8_t* root = RvaToFilePointer(image, *rva);
    if (root == nullptr) return std::nullopt;
    const std::size_t offset = static_cast<std::size_t>(root - image.data());
    if (!FitsIn(image.size(), offset, kDirectoryHeaderSize)) return std::nullopt;
    return ResourceDirectory{image, offset};
}

const std::uint8_t* FindResourceType(const ResourceDirectory& directory, std::uint32_t typeId,
                                     std::uint32_t& entryCount) noexcept {
    entryCount = 0;
    std::uint32_t rootCount = 0;
    const auto rootEntries = DirectoryEntries(directory, 0, rootCount);
    if (!rootEntries) return nullptr;
    for (std::uint32_t i = 0; i < rootCount; ++i) {
        const std::size_t entry = *rootEntries + static_cast<std::size_t>(i) * kDirectoryEntrySize;
        if (EntryName(directory.image, entry) != typeId) continue;
        const std::uint32_t offset = EntryOffset(directory.image, entry);
        // A type entry that points at data instead of a directory is malformed.
        if ((offset & kSubdirectoryBit) == 0) return nullptr;
        std::uint32_t count = 0;
        const auto typeEntries = DirectoryEntries(directory, offset & ~kSubdirectoryBit, count);
        if (!typeEntries) return nullptr;
        entryCount = count;
        return directory.image.data() + *typeEntries;
    }
    return nullptr;
}

std::uint32_t CountResourceEntries(const ResourceDirectory& directory, std::uint32_t typeId) noexcept {
    std::uint32_t count = 0;
    FindResourceType(directory, typeId, count);
    return count;
}

Bytes FindResourceData(const ResourceDirectory& directory, std::int64_t which,
                       std::uint32_t typeId) noexcept {
    const Bytes image = directory.image;
    std::uint32_t count = 0;
    const std::uint8_t* first = FindResourceType(directory, typeId, count);
    if (first == nullptr) return {};
    const std::size_t entries = static_cast<std::size_t>(first - image.data());

    std::optional<std::size_t> chosen;
    if (which < 0) {
        // Negated in unsigned arithmetic, so the most negative value is safe.
        const std::uint64_t id = 0 - static_cast<std::uint64_t>(which);
        for (std::uint32_t i = 0; i < count && !chosen; ++i) {
            const std::size_t entry = entries + static_cast<std::size_t>(i) * kDirectoryEntrySize;
            if (EntryName(image, entry) == id) chosen = entry;
        }
    } else if (static_cast<std::uint64_t>(which) < count) {
        chosen = entries + static_cast<std::size_t>(which) * kDirectoryEntrySize;
    }
    if (!chosen) return {};

    std::uint32_t offset = EntryOffset(image, *chosen);
    if (offset & kSubdirectoryBit) {
        std::uint32_t languages = 0;
        const auto languageEntries = DirectoryEntries(directory, offset & ~kSubdirectoryBit, languages);
        if (!languageEntries || languages == 0) return {};
        offset = EntryOffset(image, *languageEntries);
        if (offset & kSubdirectoryBit) return {};
    }

    const std::uint64_t dataEntry = static_cast<std::uint64_t>(directory.offset) + offset;
    const auto dataRva = ReadU32(image, dataEntry);
    const auto dataSize = ReadU32(image, dataEntry + 4);
    if (!dataRva || !dataSize) return {};
    const std::uint8_t* data = RvaToFilePointer(image, *dataRva);
    if (data == nullptr) return {};
    const std::size_t position = static_cast<std::size_t>(data - image.data());
    if (!FitsIn(image.size(), position, *dataSize)) return {};
    return image.subspan(position, *dataSize);
}

bool IsIconGroup(Bytes group) noexcept {
    const auto reserved = ReadU16(group, 0);
    const auto type = ReadU16(group, 2);
    const auto count = ReadU16(group, 4);
    if (!reserved || !type || !count || *reserved != 0 || *type != 1) return false;
    return FitsIn(group.size(), kGroupHeaderSize, static_cast<std::uint64_t>(*count) * kGroupEntrySize);
}

bool IsDibIconImage(Bytes image) noexcept {
    const auto headerSize = ReadU32(image, 0);
    return headerSize && (*headerSize == 40 || *headerSize == 12) && image.size() >= *headerSize;
}

std::uint16_t PickIconImageId(Bytes group, int cxDesired, int cyDesired, int bitsPerPixel) noexcept {
    if (!IsIconGroup(group)) return 0;
    const std::uint16_t count = *ReadU16(group, 4);
    std::uint16_t bestId = 0;
    // Lower is better: size difference, then "too deep", then missing depth.
    std::tuple<long, int, int> best{0, 0, 0};
    for (std::uint16_t i = 0; i < count; ++i) {
        const Bytes entry = group.subspan(kGroupHeaderSize + i * kGroupEntrySize, kGroupEntrySize);
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int height = entry[1] == 0 ? 256 : entry[1];
        int bits = *ReadU16(entry, 6);
        if (bits == 0) bits = entry[2] == 0 ? 8 : (entry[2] <= 2 ? 1 : entry[2] <= 16 ? 4 : 8);
        const std::uint16_t id = *ReadU16(entry, 12);
        const long sizeDifference = std::labs(static_cast<long>(width) - cxDesired) +
                                    std::labs(static_cast<long>(height) - cyDesired);
        const bool tooDeep = bits > bitsPerPixel;
        const std::tuple<long, int, int> score{sizeDifference, tooDeep ? 1 : 0, tooDeep ? bits : -bits};
        if (id != 0 && (bestId == 0 || score < best)) {
            best = score;
            bestId = id;
        }
    }
    return bestId;
}

}  // namespace velmora
