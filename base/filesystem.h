// File-system primitives of the library's platform layer.
//
// Paths are narrow text in the ANSI code page. The separator is '\\' on
// Windows and '/' elsewhere.
#pragma once

#include <string>

namespace velmora {

#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The platform's path limit, terminating zero included.
constexpr int kPathBufferSize = 260;

// The full path of the running executable, in the ANSI code page, however
// long it is (up to the platform's 32767 units). Empty when it cannot be
// read: a cut-off path would name the wrong directory.
std::string ExecutablePath();

// Creates one directory with default permissions. False when it could not
// be created, including when it exists already.
bool CreateOneDirectory(const char* path);

// Appends `length` bytes to the file at `path`, creating the file when it
// is missing and never truncating it. The file is held exclusively while
// writing (Windows: opened without sharing; elsewhere: an exclusive lock),
// so the bytes of two writers never interleave. While another writer holds
// the file the open is retried for up to `retryMilliseconds`. Returns true
// when every byte was written.
bool AppendExclusive(const char* path, const char* data, int length, int retryMilliseconds);

}  // namespace velmora
