#include "base/filesystem.h"
#include "velmora/logging.h"

int CreateMultipleDirectory(const char* path) {
    if (path == nullptr) return 0;
    // Byte by byte on purpose: every separator byte ends a directory name,
    // even the second byte of a double-byte character.
    CString prefix;
    int result = 0;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == velmora::kPathSeparator) {
            result = velmora::CreateOneDirectory(prefix) ? 1 : 0;
        }
        prefix += *p;
    }
    return result;
}
