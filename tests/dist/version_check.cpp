// Reads the version information of an executable the way the file's
// properties and the elevation prompt do (GetFileVersionInfo, VerQueryValue)
// and checks that it names Velmora at the project's version.
//   version_check PATH
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "VelmoraVersion.h"

namespace {

int g_failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "version_check: FAIL: %s\n", what);
        ++g_failures;
    }
}

std::string Text(std::vector<char>& info, const char* name) {
    const std::string key = std::string("\\StringFileInfo\\080404b0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr)
        return "<missing>";
    return std::string(value);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: version_check PATH\n");
        return 2;
    }
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(argv[1], &handle);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(argv[1], 0, size, info.data())) {
        std::fprintf(stderr, "version_check: FAIL: %s has no version information\n", argv[1]);
        return 1;
    }

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    Check(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed != nullptr &&
              fixed->dwSignature == 0xFEEF04BD,
          "fixed file information");
    if (fixed != nullptr) {
        const DWORD ms = MAKELONG(VELMORA_VERSION_MINOR, VELMORA_VERSION_MAJOR);
        const DWORD ls = MAKELONG(VELMORA_VERSION_BUILD, VELMORA_VERSION_PATCH);
        Check(fixed->dwFileVersionMS == ms && fixed->dwFileVersionLS == ls, "file version " VELMORA_VERSION_TEXT);
        Check(fixed->dwProductVersionMS == ms && fixed->dwProductVersionLS == ls,
              "product version " VELMORA_VERSION_TEXT);
        Check(fixed->dwFileType == VFT_APP, "an application");
    }
    WORD* translation = nullptr;
    Check(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                         &length) &&
              length >= 4 && translation[0] == 0x0804 && translation[1] == 1200,
          "translation: Simplified Chinese, Unicode");

    const struct {
        const char* name;
        const char* expected;
    } texts[] = {
        {"ProductName", "Velmora"},          {"FileDescription", "添加运行命令"},
        {"FileVersion", VELMORA_VERSION_TEXT},  {"ProductVersion", VELMORA_VERSION_TEXT},
        {"OriginalFilename", sizeof(void*) == 8 ? "Velmora64.exe" : "Velmora.exe"}, {"LegalCopyright", "Copyright (C) the Velmora authors"},
    };
    for (const auto& t : texts) {
        const std::string value = Text(info, t.name);
        std::printf("%s: %s\n", t.name, value.c_str());
        Check(value == t.expected, t.name);
    }
    if (g_failures == 0) std::printf("version_check: all checks passed\n");
    return g_failures == 0 ? 0 : 1;
}
