// Bounds-checked little-endian reads from a byte span.
//
// Every read names its offset and reports failure instead of reading past the
// end of the span, so callers can take offsets straight from a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora {

using Bytes = std::span<const std::uint8_t>;

// True when `length` bytes starting at `offset` lie inside a span of `size`
// bytes (overflow-safe).
constexpr bool FitsIn(std::size_t size, std::uint64_t offset, std::uint64_t length) noexcept {
    return offset <= size && length <= size - offset;
}

inline std::optional<std::uint16_t> ReadU16(Bytes bytes, std::uint64_t offset) noexcept {
    if (!FitsIn(bytes.size(), offset, 2)) return std::nullopt;
    const std::uint8_t* p = bytes.data() + offset;
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::optional<std::uint32_t> ReadU32(Bytes bytes, std::uint64_t offset) noexcept {
    if (!FitsIn(bytes.size(), offset, 4)) return std::nullopt;
    const std::uint8_t* p = bytes.data() + offset;
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace velmora
