// An outside program that loads Velmora.exe itself (LoadLibrary) and calls
// a non-throwing function of every exported family, looked up by its C++
// name (GetProcAddress). The executable's start-up code never runs when it
// is loaded this way, so these calls show that the exported paths need
// none of it. Strings are this program's own CString, which shares its
// layout and its C runtime heap with the executable's.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "velmora/CString.h"

namespace {

int g_failures = 0;

#define CHECK(cond)                                                                 \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++g_failures;                                                           \
        }                                                                           \
    } while (0)

class Module {
public:
    explicit Module(const char* path) : m_module(LoadLibraryA(path)) {}
    ~Module() {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;
    HMODULE Get() const { return m_module; }

    // The export `name` as a function of type F, or null (reported).
    template <typename F>
    F Find(const char* name) const {
        FARPROC proc = GetProcAddress(m_module, name);
        if (proc == nullptr) {
            std::fprintf(stderr, "Velmora.exe does not export %s\n", name);
            ++g_failures;
        }
        return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
    }

private:
    HMODULE m_module;
};

using Encode = int (*)(const unsigned char*, int, char**);
using Decode = int (*)(const char*, unsigned char*);
using FromText = int (*)(CString);
using IntToText = CString (*)(int);
using SizeToText = CString (*)(unsigned long long);
using TextToText = CString (*)(CString);
using InPlace = void (*)(CString&);
using LinkDecode = int (*)(CString, CString&);
using Filter = int (*)(CString, CString, CString&);
using NoArgText = CString (*)();
using Log = void (*)(const char*, const char*);
using MakeDirs = int (*)(const char*);

}  // namespace

int main() {
    Module exe("Velmora.exe");
    if (exe.Get() == nullptr) {
        std::fprintf(stderr, "LoadLibrary(Velmora.exe) failed: %lu\n", GetLastError());
        return 1;
    }
    std::printf("Velmora.exe loaded at %p\n", static_cast<void*>(exe.Get()));

    // Base64: the encoder's buffer is released the documented way (delete[]);
    // both modules' new[] and delete[] sit on the same C runtime heap.
    if (auto encode = exe.Find<Encode>("_Z13base64_encodePKhiPPc")) {
        char* text = nullptr;
        CHECK(encode(reinterpret_cast<const unsigned char*>("abc"), 3, &text) == 4);
        CHECK(text != nullptr && std::strcmp(text, "YWJj") == 0);
        delete[] text;
    }
    if (auto decode = exe.Find<Decode>("_Z13base64_decodePKcPh")) {
        unsigned char bytes[4] = {0};
        CHECK(decode("TQ==", bytes) == 1 && bytes[0] == 'M');
    }

    // Number transforms and human-readable formatting.
    if (auto toInt = exe.Find<FromText>("_Z13Transform2Int7CString")) CHECK(toInt("-42") == -42);
    if (auto toStr = exe.Find<IntToText>("_Z13Transform2Stri")) CHECK(toStr(-7) == "-7");
    if (auto size = exe.Find<SizeToText>("_Z12ULLSizeToStry")) CHECK(size(1152) == "1.13KB");

    // URL and code pages.
    if (auto encode = exe.Find<TextToText>("_Z9UrlEncode7CString")) CHECK(encode("a b&c") == "a+b%26c");
    if (auto decode = exe.Find<TextToText>("_Z9UrlDecode7CString")) {
        CHECK(decode("%E4%B8%AD%41") == "\xD6\xD0" "A");
    }
    if (auto toGb = exe.Find<InPlace>("_Z8UTF8ToGBR7CString")) {
        CString text("\xE4\xB8\xAD");
        toGb(text);
        CHECK(text == "\xD6\xD0");
    }

    // Link decoders and the filter, on well-formed links.
    if (auto thunder = exe.Find<LinkDecode>("_Z16ThunderURLDecode7CStringRS_")) {
        CString out;
        CHECK(thunder("thunder://QUFodHRwOi8vaC9hLnppcFpa", out) == 1 && out == "http://h/a.zip");
    }
    if (auto filter = exe.Find<Filter>("_Z17PellicorUrlFilter7CStringS_RS_")) {
        CString out;
        CHECK(filter("HTTP://h/A.EXE", ".exe", out) == 1 && out == "HTTP://h/A.EXE");
    }

    // Module directory, captions, log and directories: the directory is
    // this program's, since the process's executable is this program.
    CString dir;
    if (auto cwd = exe.Find<NoArgText>("_Z17GetCurrWorkingDirv")) {
        dir = cwd();
        CHECK(!dir.IsEmpty() && dir[dir.GetLength() - 1] == '\\');
    }
    if (auto svr = exe.Find<NoArgText>("_Z13GetSvrCaptionv")) CHECK(svr().GetLength() == 32);
    if (auto log = exe.Find<Log>("_Z6LogMsgPKcS0_")) {
        const CString path = dir + "log\\exe_consumer.log";
        std::remove(path);
        log("from the exe consumer", "exe_consumer.log");
        CHECK(std::filesystem::exists(path.GetString()));
    }
    if (auto makeDirs = exe.Find<MakeDirs>("_Z23CreateMultipleDirectoryPKc")) {
        std::filesystem::remove_all((dir + "exe_consumer_dirs").GetString());
        CHECK(makeDirs(dir + "exe_consumer_dirs\\a\\") != 0);
    }

    // The icon writer, AfxSaveHICON2File, is called here once it exists.

    if (g_failures == 0) std::printf("exe consumer: all checks passed\n");
    return g_failures == 0 ? 0 : 1;
}
