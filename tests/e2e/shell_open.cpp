// Starts a program the way the shell does for a typed name, through
// ShellExecuteEx, and waits for it.
//   shell_open NAME [PARAMETERS]
// Exit code: the started program's, or 100 when the shell could not start it.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: shell_open NAME [PARAMETERS]\n");
        return 100;
    }
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = argv[1];
    info.lpParameters = argc > 2 ? argv[2] : nullptr;
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExA(&info) || info.hProcess == nullptr) {
        std::fprintf(stderr, "shell_open: %s not started, error %lu\n", argv[1], ::GetLastError());
        return 100;
    }
    ::WaitForSingleObject(info.hProcess, 30000);
    DWORD code = 100;
    ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return static_cast<int>(code);
}
