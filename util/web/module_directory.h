// How the module directory is cut from the executable's path (internal).
#pragma once

namespace velmora {

// The length of `path` (`length` bytes) up to and including its last path
// separator, or 0 when it has none. The walk goes by characters of the ANSI
// code page, so the second byte of a double-byte character never counts as
// a separator.
int DirectoryPartLength(const char* path, int length);

}  // namespace velmora
