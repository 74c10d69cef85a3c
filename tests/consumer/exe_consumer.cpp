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

#include "tests/consumer/consumer_check.h"
#include "velmora/CString.h"

namespace {

using consumer::g_failures;

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

// Wine (8.0) binds the imports of a module that LoadLibrary loads only when
// the module is a DLL, so an executable loaded this way keeps unresolved
// import slots and its first call into the C runtime or the system jumps
// into nowhere. Windows binds them. This binds every slot still unresolved,
// as the loader would; where the loader did its work it finds none.
// Returns the number of slots bound, or -1 when one cannot be resolved.
int BindUnresolvedImports(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return 0;
    int bound = 0;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        HMODULE dll = LoadLibraryA(reinterpret_cast<const char*>(base + import->Name));
        if (dll == nullptr) return -1;
        const DWORD namesRva = import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (slots->u1.Function != names->u1.AddressOfData) continue;  // bound already
            FARPROC proc;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                proc = GetProcAddress(dll, reinterpret_cast<LPCSTR>(
                                               static_cast<ULONG_PTR>(IMAGE_ORDINAL(names->u1.Ordinal))));
            } else {
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
                proc = GetProcAddress(dll, reinterpret_cast<const char*>(byName->Name));
            }
            if (proc == nullptr) return -1;
            DWORD protection = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                                &protection)) {
                return -1;
            }
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(proc);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            ++bound;
        }
    }
    return bound;
}

// A crash ends the program with a message instead of starting a debugger
// that waits for ever.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crash: exception %08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ExitProcess(3);
}

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
    SetUnhandledExceptionFilter(ReportCrash);
    Module exe("Velmora.exe");
    if (exe.Get() == nullptr) {
        std::fprintf(stderr, "LoadLibrary(Velmora.exe) failed: %lu\n", GetLastError());
        return 1;
    }
    // Loaded at its preferred base, it needed no relocation.
    std::printf("Velmora.exe loaded at %p\n", static_cast<void*>(exe.Get()));
    const int bound = BindUnresolvedImports(exe.Get());
    if (bound < 0) {
        std::fprintf(stderr, "an import of Velmora.exe cannot be resolved\n");
        return 1;
    }
    std::printf("import slots the loader left unresolved and this program bound: %d\n", bound);

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
        CHECK(decode("%E4%B8%AD%41") ==
              "\xD6\xD0"
              "A");
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

    // The icon writer: the system's application icon as a one-image .ico.
    using SaveIcon = void (*)(HICON, const char*);
    if (auto save = exe.Find<SaveIcon>("_Z17AfxSaveHICON2FileP7HICON__PKc")) {
        const CString path = dir + "exe_consumer.ico";
        std::remove(path);
        save(LoadIconA(nullptr, IDI_APPLICATION), path);
        CHECK(std::filesystem::exists(path.GetString()) && std::filesystem::file_size(path.GetString()) > 62);
    }

    if (g_failures == 0) std::printf("exe consumer: all checks passed\n");
    return g_failures == 0 ? 0 : 1;
}
