#include <windows.h>

#include "base/filesystem.h"
#include "base/growing_read.h"
#include "base/win32_handles.h"

namespace velmora {
namespace {

// Opens for reading and writing, creating the file if needed, with no
// sharing: a second writer's open fails with a sharing violation, which is
// what the retry waits out.
HANDLE OpenExclusive(const char* path, int retryMilliseconds) {
    const DWORD start = GetTickCount();
    DWORD pause = 1;
    for (;;) {
        HANDLE handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) return handle;
        if (GetLastError() != ERROR_SHARING_VIOLATION) return INVALID_HANDLE_VALUE;
        if (GetTickCount() - start >= static_cast<DWORD>(retryMilliseconds)) {
            return INVALID_HANDLE_VALUE;
        }
        Sleep(pause);
        if (pause < 8) pause *= 2;
    }
}

}  // namespace

std::string ExecutablePath() {
    return ReadGrowing<std::string>([](char* buffer, std::size_t capacity) -> std::size_t {
        // The capacity itself when the name was cut.
        return GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity));
    });
}

bool CreateOneDirectory(const char* path) { return CreateDirectoryA(path, nullptr) != FALSE; }

bool AppendExclusive(const char* path, const char* data, int length, int retryMilliseconds) {
    if (path == nullptr || length < 0) return false;
    OwnedFile file(OpenExclusive(path, retryMilliseconds));
    if (!file) return false;
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR) {
        return false;
    }
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file.Get(), data, static_cast<DWORD>(length), &written, nullptr) || written == 0) {
            return false;
        }
        data += written;
        length -= static_cast<int>(written);
    }
    return true;
}

}  // namespace velmora
