#include "app/terminal/ProgramKind.h"

#include "icons/pe_resources.h"

ProgramKind ProgramKindOf(const unsigned char* head, std::size_t size) noexcept {
    constexpr std::uint16_t kWindowsGui = 2;
    constexpr std::uint16_t kWindowsCeGui = 9;
    const auto subsystem = velmora::ProgramSubsystem(velmora::Bytes(head, size));
    if (!subsystem) return ProgramKind::kNotAProgram;
    return *subsystem == kWindowsGui || *subsystem == kWindowsCeGui ? ProgramKind::kWindows : ProgramKind::kConsole;
}
