// Makes a shortcut file through the shell's IShellLinkW, as Explorer does.
//   make_shortcut LINK_FILE TARGET
// Exit code 0 when the file was saved.
#include <windows.h>
// after windows.h, which they need
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>

int main() {
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr || count != 3) {
        std::fprintf(stderr, "usage: make_shortcut LINK_FILE TARGET\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool saved = SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                              reinterpret_cast<void**>(&link))) &&
                 SUCCEEDED(link->SetPath(argv[2])) &&
                 SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                 SUCCEEDED(file->Save(argv[1], TRUE));
    if (file != nullptr) file->Release();
    if (link != nullptr) link->Release();
    ::CoUninitialize();
    ::LocalFree(argv);
    if (!saved) std::fprintf(stderr, "make_shortcut: not saved\n");
    return saved ? 0 : 1;
}
