// What kind of file a path names, by its extension and by its first bytes.
#pragma once

#include <cstddef>

#include "icons/byte_reader.h"

namespace velmora {

// Extension codes of ClassifyFileExtension.
enum FileExtensionCode : int {
    kExtensionOther = 0,
    kExtensionCom = 1,
    kExtensionBat = 2,
    kExtensionCmd = 3,
    kExtensionPif = 4,
    kExtensionLnk = 5,
    kExtensionIco = 6,
    kExtensionExe = 7,
};

// The code of the text from the last "." of the whole path on, by its first
// four bytes (".exe" and ".exe2" alike), without regard to ASCII case. The
// last "." may lie in a directory name: "C:\x.bat\noext" gives 2. 0 for any
// other text, for a path without ".", and for null.
int ClassifyFileExtension(const char* path) noexcept;

// Extensions whose files yield no icon here: command files, MS-DOS program
// files and shortcuts (codes 1 to 5).
bool IsExcludedExtension(int code) noexcept;

constexpr std::size_t kFileProbeSize = 12;

enum class FileContentKind {
    Unknown,         // none of the below, or fewer than 12 bytes
    IconFile,        // zero word, type 1 (icon) or 2 (cursor), at least one image
    AnimatedCursor,  // "RIFF" with form type "ACON"
    Bitmap,          // "BM"
    Executable,      // "MZ"
};

// The kind of file whose first bytes are `probe` (at least 12 are needed).
FileContentKind ProbeFileContent(Bytes probe) noexcept;

}  // namespace velmora
