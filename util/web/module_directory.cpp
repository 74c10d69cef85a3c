#include "util/web/module_directory.h"

#include <cstring>

#include "base/filesystem.h"
#include "base/mbcs.h"
#include "base/run_once.h"
#include "digest/md5.h"
#include "velmora/logging.h"

namespace {

// Plain data, so that the directory is usable even when a program loaded
// the executable's exports and its static constructors never ran.
velmora::OnceFlag g_moduleDirectoryOnce;
char g_moduleDirectory[velmora::kPathBufferSize];

bool ReadModuleDirectory(void*) {
    char path[velmora::kPathBufferSize];
    const int length = velmora::GetExecutablePath(path, sizeof path);
    if (length <= 0) return false;
    const int cut = velmora::DirectoryPartLength(path, length);
    if (cut <= 0) return false;
    std::memcpy(g_moduleDirectory, path, static_cast<size_t>(cut));
    g_moduleDirectory[cut] = '\0';
    return true;
}

CString CaptionOf(const char* component) {
    CString text = GetCurrWorkingDir();
    text += component;
    return TextToMD5Str(text);
}

}  // namespace

namespace velmora {

int DirectoryPartLength(const char* path, int length) {
    int cut = 0;
    for (int pos = 0; pos < length; pos += CharLengthAt(path, length, pos)) {
        if (path[pos] == kPathSeparator) cut = pos + 1;
    }
    return cut;
}

}  // namespace velmora

CString GetCurrWorkingDir() {
    if (!velmora::RunOnce(g_moduleDirectoryOnce, ReadModuleDirectory, nullptr)) return CString();
    return CString(g_moduleDirectory);
}

CString GetSvrCaption() { return CaptionOf("PellicorSvr"); }

CString GetUICaption() { return CaptionOf("PellicorUI"); }
