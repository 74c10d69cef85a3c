#include <windows.h>

#include "app/SysnativePath.h"
#include "app/TargetFile.h"

namespace {

constexpr DWORD kLongestPath = 32768;

CString ExpandEnvironment(const CString& text) {
    if (text.Find('%') < 0) return text;
    const DWORD needed = ::ExpandEnvironmentStringsA(text, nullptr, 0);
    if (needed == 0 || needed > kLongestPath) return text;
    CString expanded;
    char* buffer = expanded.GetBuffer(static_cast<int>(needed));
    const DWORD written = ::ExpandEnvironmentStringsA(text, buffer, needed + 1);
    // The count includes the terminating zero.
    expanded.ReleaseBuffer(written > 0 && written <= needed + 1 ? -1 : 0);
    return expanded.IsEmpty() ? text : expanded;
}

CString SearchForFile(const CString& name) {
    const DWORD needed = ::SearchPathA(nullptr, name, nullptr, 0, nullptr, nullptr);
    if (needed == 0 || needed > kLongestPath) return name;
    CString found;
    char* buffer = found.GetBuffer(static_cast<int>(needed));
    const DWORD length = ::SearchPathA(nullptr, name, nullptr, needed + 1, buffer, nullptr);
    found.ReleaseBuffer(length > 0 && length <= needed ? static_cast<int>(length) : 0);
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
CString SystemWindowsFolder() {
    char buffer[MAX_PATH + 1];
    const UINT length = ::GetSystemWindowsDirectoryA(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? CString(buffer, static_cast<int>(length)) : CString();
}

}  // namespace

CString PathToReadHere(const CString& path) {
    if (!RunsUnderWow64()) return path;
    static const CString windowsFolder = SystemWindowsFolder();
    return PathThroughSysnative(path, windowsFolder);
}

CString ResolveTargetFile(const CString& file) {
    const CString expanded = ExpandEnvironment(file);
    if (expanded.IsEmpty() || expanded.Find('\\') >= 0 || expanded.Find(':') >= 0) return expanded;
    return SearchForFile(expanded);
}

bool IsExistingFile(const CString& path) {
    const DWORD attributes = ::GetFileAttributesA(PathToReadHere(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFolder(const CString& path) {
    const DWORD attributes = ::GetFileAttributesA(PathToReadHere(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TargetFileExists(const CString& file) { return IsExistingFile(ResolveTargetFile(file)); }
