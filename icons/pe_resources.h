// Icon resources of a Windows executable image, read from its bytes.
//
// The walk works on the file as it lies on disk (a mapped view or a buffer):
// the PE headers and the section table translate relative virtual addresses
// into file positions, and the resource directory tree (type, name, language)
// is followed by hand. Every offset and count taken from the file is checked
// against the span; anything that fails a check is reported as "not found",
// and nothing outside the span is ever read.
//
// Images with the 32-bit optional header (magic 0x10B) and the 64-bit one
// (magic 0x20B) are both read; any other optional-header magic has no
// resource directory as far as this walk is concerned.
#pragma once

#include <cstdint>
#include <optional>

#include "icons/byte_reader.h"

namespace velmora {

constexpr std::uint32_t kResourceTypeIcon = 3;
constexpr std::uint32_t kResourceTypeGroupIcon = 14;

// The root of an image's resource directory: the image and the file offset of
// the root directory header (16 bytes, known to lie inside the image).
struct ResourceDirectory {
    Bytes image;
    std::size_t offset = 0;
};

// The file position of a relative virtual address: the first section (in
// table order) whose extent (virtual size, or raw size when that is 0) holds
// `rva` gives pointer-to-raw-data + (rva - virtual address). Null when no
// section holds it, when the section table leaves the image, or when the
// position lies outside the image.
const std::uint8_t* RvaToFilePointer(Bytes image, std::uint32_t rva) noexcept;

// The resource directory of an image: "MZ", e_lfanew inside the image, the
// "PE\0\0" signature, an optional header large enough for its layout with at
// least three data directories, and a resource RVA that maps into the file
// with room for a directory header. Nothing otherwise.
std::optional<ResourceDirectory> FindResourceDirectory(Bytes image) noexcept;

// The entries of the type `typeId` below the root (named entries never match,
// since their name field has the top bit set). Returns the file position of
// the type directory's first entry and sets `entryCount` to its named plus
// identifier entries; null with `entryCount` 0 when the type is missing or its
// directory or entry array does not fit in the image.
const std::uint8_t* FindResourceType(const ResourceDirectory& directory, std::uint32_t typeId,
                                     std::uint32_t& entryCount) noexcept;

// How many entries (resources) the type `typeId` has; 0 when it has none.
std::uint32_t CountResourceEntries(const ResourceDirectory& directory, std::uint32_t typeId) noexcept;

// The data of one resource of type `typeId`: `which` >= 0 is a position among
// the type's entries, `which` < 0 selects the first entry whose identifier is
// -which. Of several languages the first stored one is taken. Returns the data
// (inside the image, of the size the data entry gives), or an empty span when
// there is no such resource or any part of the way fails a check.
Bytes FindResourceData(const ResourceDirectory& directory, std::int64_t which, std::uint32_t typeId) noexcept;

// An icon group resource: reserved word 0, type 1, and room for all of its
// 14-byte image entries.
bool IsIconGroup(Bytes group) noexcept;

// An icon image stored as a device-independent bitmap: starts with a header
// size of 40 (information header) or 12 (core header) and holds that header.
// Other forms (compressed images) are not.
bool IsDibIconImage(Bytes image) noexcept;

// The image identifier in an icon group that best fits a size and colour
// depth: the smallest size difference (a stored 0 means 256), then the
// deepest colour depth not above `bitsPerPixel`, else the shallowest of the
// deeper ones; of equal entries the first.
// 0 when the group is malformed or empty. Stands in for the platform's own
// choice where there is no platform.
std::uint16_t PickIconImageId(Bytes group, int cxDesired, int cyDesired, int bitsPerPixel) noexcept;

}  // namespace velmora
