#include <windows.h>

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

}  // namespace

CString ResolveTargetFile(const CString& file) {
    const CString expanded = ExpandEnvironment(file);
    if (expanded.IsEmpty() || expanded.Find('\\') >= 0 || expanded.Find(':') >= 0) return expanded;
    return SearchForFile(expanded);
}

bool IsExistingFile(const CString& path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsExistingFolder(const CString& path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool TargetFileExists(const CString& file) { return IsExistingFile(ResolveTargetFile(file)); }
