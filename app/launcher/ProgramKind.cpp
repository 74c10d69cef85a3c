#include "app/launcher/ProgramKind.h"

#include "icons/byte_reader.h"

namespace {

using velmora::ReadU16;
using velmora::ReadU32;

// The fields of a program's headers that tell its kind. Both optional-header
// layouts (0x10B, 0x20B) keep the subsystem 68 bytes in.
constexpr std::uint16_t kDosSignature = 0x5A4D;     // "MZ"
constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kSizeOfOptionalHeaderOffset = 4 + 16;
constexpr std::uint32_t kCharacteristicsOffset = 4 + 18;
constexpr std::uint32_t kOptionalHeaderOffset = 4 + 20;
constexpr std::uint32_t kSubsystemOffset = 68;
constexpr std::uint16_t kExecutableImage = 0x0002;
constexpr std::uint16_t kDll = 0x2000;
constexpr std::uint16_t kWindowsGui = 2;
constexpr std::uint16_t kWindowsCeGui = 9;

}  // namespace

ProgramKind ProgramKindOf(const unsigned char* head, std::size_t size) noexcept {
    const velmora::Bytes image(head, size);
    if (ReadU16(image, 0) != kDosSignature) return ProgramKind::kNotAProgram;
    const auto nt = ReadU32(image, 0x3C);
    if (!nt || ReadU32(image, *nt) != kNtSignature) return ProgramKind::kNotAProgram;
    const auto characteristics = ReadU16(image, std::uint64_t{*nt} + kCharacteristicsOffset);
    if (!characteristics || !(*characteristics & kExecutableImage) || (*characteristics & kDll)) {
        return ProgramKind::kNotAProgram;
    }
    const auto optionalSize = ReadU16(image, std::uint64_t{*nt} + kSizeOfOptionalHeaderOffset);
    const std::uint64_t optional = std::uint64_t{*nt} + kOptionalHeaderOffset;
    const auto magic = ReadU16(image, optional);
    if (!optionalSize || *optionalSize < kSubsystemOffset + 2 || (magic != 0x10B && magic != 0x20B)) {
        return ProgramKind::kNotAProgram;
    }
    const auto subsystem = ReadU16(image, optional + kSubsystemOffset);
    if (!subsystem) return ProgramKind::kNotAProgram;
    return *subsystem == kWindowsGui || *subsystem == kWindowsCeGui ? ProgramKind::kWindows
                                                                    : ProgramKind::kConsole;
}
