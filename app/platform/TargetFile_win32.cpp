#include "app/platform/TargetFile_win32.h"

#include <windows.h>

#include "app/platform/SysnativePath.h"

namespace {

constexpr std::size_t kLongestPath = 32768;

// A REG_EXPAND_SZ target and any other with %NAME% references: expanded
// in UTF-16, so characters of the ANSI code page's reach are no limit.
CStringW ExpandEnvironment(const CStringW& text) {
    if (text.Find(u'%') < 0) return text;
    const auto read = [&text](char16_t* buffer, std::size_t capacity) -> std::size_t {
        const DWORD needed = ::ExpandEnvironmentStringsW(velmora::WinText(text), velmora::WinBuffer(buffer),
                                                         static_cast<DWORD>(capacity));
        // The count includes the terminating zero.
        return needed == 0 ? 0 : needed - 1;
    };
    const CStringW expanded = velmora::ReadGrowingText(read, 260, kLongestPath);
    return expanded.IsEmpty() ? text : expanded;
}

CStringW SearchForFile(const CStringW& name) {
    const auto read = [&name](char16_t* buffer, std::size_t capacity) -> std::size_t {
        // The length when it fitted; the size needed, zero included, when not.
        return ::SearchPathW(nullptr, velmora::WinText(name), nullptr, static_cast<DWORD>(capacity),
                             velmora::WinBuffer(buffer), nullptr);
    };
    const CStringW found = velmora::ReadGrowingText(read, 260, kLongestPath);
    return found.IsEmpty() ? name : found;
}

// Asked once: it cannot change while the process runs. A 64-bit process is
// told no.
bool RunsUnderWow64() {
    static const bool underWow64 = [] {
        BOOL wow64 = FALSE;
        return ::IsWow64Process(::GetCurrentProcess(), &wow64) != FALSE && wow64 != FALSE;
    }();
    return underWow64;
}

// The Windows folder whose System32 the system runs from, empty when it
// cannot be read. Not GetWindowsDirectory: on a terminal server that names a
// private folder of the user for programs not marked as aware of it, which
// holds no System32; GetSystemWindowsDirectory always names the shared one.
CStringW SystemWindowsFolder() {
    const auto read = [](char16_t* buffer, std::size_t capacity) -> std::size_t {
        return ::GetSystemWindowsDirectoryW(velmora::WinBuffer(buffer), static_cast<UINT>(capacity));
    };
    return velmora::ReadGrowingText(read, 260, kLongestPath);
}

DWORD AttributesOf(const CStringW& path) {
    return ::GetFileAttributesW(velmora::WinText(PathToReadHere(path)));
}

}  // namespace

CStringW PathToReadHere(const CStringW& path) {
    if (!RunsUnderWow64()) return path;
    static const CStringW windowsFolder = SystemWindowsFolder();
    return PathThroughSysnative(path, windowsFolder);
}

CStringW ResolveTargetFile(const CStringW& file) {
    const CStringW expanded = ExpandEnvironment(file);
    if (expanded.IsEmpty() || expanded.Find(u'\\') >= 0 || expanded.Find(u':') >= 0) return expanded;
    return SearchForFile(expanded);
}

bool IsExistingFile(const CStringW& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFolder(const CStringW& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TargetFileExists(const CStringW& file) { return IsExistingFile(ResolveTargetFile(file)); }

bool PathFolderExists(const CStringW& folder) {
    const CStringW expanded = ExpandEnvironment(folder);
    return !expanded.IsEmpty() && IsExistingFolder(expanded);
}

CStringW FullPathOf(const CStringW& path) {
    const CStringW full =
        velmora::ReadGrowingText([&](char16_t* buffer, std::size_t capacity) -> std::size_t {
            return ::GetFullPathNameW(velmora::WinText(path), static_cast<DWORD>(capacity),
                                      velmora::WinBuffer(buffer), nullptr);
        });
    return full.empty() ? path : full;
}

CStringW RunningProgramPath() {
    // The buffer grows while the name does not fit, so a long installation
    // path is never cut short.
    return velmora::ReadGrowingText([](char16_t* buffer, std::size_t capacity) -> std::size_t {
        // The capacity itself when the name was cut.
        return ::GetModuleFileNameW(nullptr, velmora::WinBuffer(buffer), static_cast<DWORD>(capacity));
    });
}
