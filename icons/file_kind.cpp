#include "icons/file_kind.h"

#include <cstring>

namespace velmora {
namespace {

struct ExtensionName {
    const char* text;
    int code;
};

constexpr ExtensionName kExtensions[] = {
    {".com", kExtensionCom}, {".bat", kExtensionBat}, {".cmd", kExtensionCmd}, {".pif", kExtensionPif},
    {".lnk", kExtensionLnk}, {".ico", kExtensionIco}, {".exe", kExtensionExe},
};

// True when `text` starts with `lowerName` in any ASCII case.
bool StartsWithNoCase(const char* text, const char* lowerName) noexcept {
    for (; *lowerName != '\0'; ++text, ++lowerName) {
        char c = *text;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != *lowerName) return false;
    }
    return true;
}

}  // namespace

int ClassifyFileExtension(const char* path) noexcept {
    if (path == nullptr) return kExtensionOther;
    // "." (0x2E) is never the second byte of a GBK character, so a byte scan
    // finds the real last dot.
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr) return kExtensionOther;
    for (const ExtensionName& extension : kExtensions) {
        // Only the four bytes from the dot are compared, so a file without
        // extension in a directory "x.bat" counts as ".bat".
        if (StartsWithNoCase(dot, extension.text)) return extension.code;
    }
    return kExtensionOther;
}

bool IsExcludedExtension(int code) noexcept { return code >= kExtensionCom && code <= kExtensionLnk; }

FileContentKind ProbeFileContent(Bytes probe) noexcept {
    if (probe.size() < kFileProbeSize) return FileContentKind::Unknown;
    const auto word = [&](std::size_t index) { return *ReadU16(probe, index * 2); };
    switch (word(0)) {
        case 0x0000: {
            // The platform's icon loader reads icon (1) and cursor (2) files alike.
            const bool iconOrCursor = word(1) == 1 || word(1) == 2;
            return iconOrCursor && word(2) >= 1 ? FileContentKind::IconFile : FileContentKind::Unknown;
        }
        case 0x4952:  // "RI", then "FF"; form type "ACON" at bytes 8 to 11
            return word(1) == 0x4646 && word(4) == 0x4341 && word(5) == 0x4E4F
                       ? FileContentKind::AnimatedCursor
                       : FileContentKind::Unknown;
        case 0x4D42:  // "BM"
            return FileContentKind::Bitmap;
        case 0x5A4D:  // "MZ"
            return FileContentKind::Executable;
        default:
            return FileContentKind::Unknown;
    }
}

}  // namespace velmora
