#include "util/web/module_directory.h"

#include <cstring>
#include <new>
#include <string>

#include "base/filesystem.h"
#include "base/mbcs.h"
#include "base/run_once.h"
#include "digest/md5.h"
#include "velmora/logging.h"

namespace {

// Plain data, so that the directory is usable even when a program loaded
// the executable's exports and its static constructors never ran. Made once
// and kept for the life of the process.
velmora::OnceFlag g_moduleDirectoryOnce;
const char* g_moduleDirectory = nullptr;

bool ReadModuleDirectory(void*) {
    const std::string path = velmora::ExecutablePath();
    const int cut = velmora::DirectoryPartLength(path.data(), static_cast<int>(path.size()));
    if (cut <= 0) return false;
    char* const directory = new (std::nothrow) char[static_cast<size_t>(cut) + 1];
    if (directory == nullptr) return false;
    std::memcpy(directory, path.data(), static_cast<size_t>(cut));
    directory[cut] = '\0';
    g_moduleDirectory = directory;
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
