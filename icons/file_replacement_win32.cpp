#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "icons/file_replacement.h"

namespace velmora {
namespace {

using ByteSpan = std::span<const std::uint8_t>;

// GetTempFileNameA's names are "ico" and up to four hex digits and ".tmp",
// after a backslash: the directory may be this much shorter than a path.
constexpr std::size_t kTemporaryNameRoom = 14;

// Attributes with which creating the file anew (CREATE_ALWAYS without
// attributes) fails, and a directory.
constexpr DWORD kRefusedAttributes =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

struct ResolvedPath {
    std::string full;
    std::string directory;  // without the last backslash, except for a root ("C:\")
};

// The full path, as the platform resolves it against the current directory
// (of the named drive, for "C:name"). Nothing for a path that names no file
// or does not fit in a path.
std::optional<ResolvedPath> Resolve(const char* path) {
    char full[MAX_PATH];
    char* filePart = nullptr;
    const DWORD length = ::GetFullPathNameA(path, sizeof full, full, &filePart);
    if (length == 0 || length >= sizeof full || filePart == nullptr || *filePart == '\0') return std::nullopt;
    // The name follows a backslash: keep it for a root directory ("C:\"),
    // drop it otherwise.
    std::size_t cut = static_cast<std::size_t>(filePart - full);
    if (!(cut == 3 && full[1] == ':')) --cut;
    return ResolvedPath{std::string(full, length), std::string(full, cut)};
}

bool WriteAll(HANDLE file, ByteSpan bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes = bytes.subspan(written);
    }
    return ::FlushFileBuffers(file) != FALSE;
}

// The target written in place, as creating it anew does. What a failed
// write left is removed: a half-written file is worse than none.
bool WriteDirectly(const std::string& path, ByteSpan bytes) {
    bool written = false;
    {
        OwnedFile file(
            ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!file) return false;
        written = WriteAll(file.Get(), bytes);
    }
    if (!written) ::DeleteFileA(path.c_str());
    return written;
}

// Whether the target can be replaced now: it opens for writing, as creating
// it anew needs, and for deletion, as the replacement needs. Asked before
// anything is written, so that a file in use costs no temporary file.
bool CanReplace(const std::string& path) {
    OwnedFile file(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

// The file's access rules, as GetFileSecurityA returns them; empty when they
// cannot be read.
std::vector<std::uint8_t> ReadAccessRules(const std::string& path) {
    DWORD needed = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<std::uint8_t> descriptor(needed);
    if (needed == 0 ||
        !::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        descriptor.clear();
    return descriptor;
}

// The platform's replacement keeps the replaced file's access rules. Where
// it only renames (Wine's), the new file arrives with those of the temporary
// file: put the old ones back.
void KeepAccessRules(const std::string& path, std::vector<std::uint8_t>& before) {
    if (before.empty() || ReadAccessRules(path) == before) return;
    ::SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, before.data());
}

// A new, empty temporary file in `directory`; nothing when its name would
// not fit in a path or the file cannot be created there.
std::optional<std::string> CreateTemporaryFile(const std::string& directory) {
    if (directory.size() + kTemporaryNameRoom > MAX_PATH) return std::nullopt;
    char name[MAX_PATH];
    if (::GetTempFileNameA(directory.c_str(), "ico", 0, name) == 0) return std::nullopt;
    return std::string(name);
}

}  // namespace

bool WriteWholeFile(const char* path, ByteSpan bytes) {
    if (path == nullptr || *path == '\0') return false;
    const auto target = Resolve(path);
    if (!target) return false;

    const DWORD attributes = ::GetFileAttributesA(target->full.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && ((attributes & kRefusedAttributes) != 0 || !CanReplace(target->full))) return false;

    const auto temporary = CreateTemporaryFile(target->directory);
    if (!temporary) return WriteDirectly(target->full, bytes);

    bool placed = false;
    {
        OwnedFile file(::CreateFileA(temporary->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     TRUNCATE_EXISTING, 0, nullptr));
        placed = file && WriteAll(file.Get(), bytes);
    }
    if (placed && exists) {
        std::vector<std::uint8_t> rules = ReadAccessRules(target->full);
        placed =
            ::ReplaceFileA(target->full.c_str(), temporary->c_str(), nullptr, 0, nullptr, nullptr) != FALSE;
        if (placed) KeepAccessRules(target->full, rules);
    } else if (placed) {
        // No replacing here: a file that appeared meanwhile is not clobbered.
        placed = ::MoveFileExA(temporary->c_str(), target->full.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (!placed) ::DeleteFileA(temporary->c_str());
    return placed;
}

}  // namespace velmora
