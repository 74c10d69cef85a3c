// Writing a whole file so that a reader never sees it half-written, the way
// the platform replaces one file by another. Windows only.
#pragma once

#include <cstdint>
#include <span>

namespace velmora {

// Puts `bytes` into the file at `path` (relative, drive-relative such as
// "C:name.ico", or full; resolved first) and returns whether it is there.
//
// The bytes go into a new temporary file beside the target, which then
// takes the target's place: an existing target through the platform's
// ReplaceFile, so that it keeps its attributes, security and other streams;
// a new one by a rename. Where no temporary file can be made beside the
// target (its directory's path leaves no room for the name, or files may not
// be created there), the target is written directly, every write checked.
//
// Refused, with nothing written: a target that is a directory, read-only,
// hidden or system (what creating the file anew would refuse), and one that
// another program holds open without letting it be written or deleted. On
// any failure the target is as it was (the direct write removes what it
// wrote) and no temporary file remains.
bool WriteWholeFile(const char* path, std::span<const std::uint8_t> bytes);

}  // namespace velmora
