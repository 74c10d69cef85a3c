// A program that leaves a mark when it runs: it writes "ran " and its own
// path (UTF-8) into the file named by its first argument, or into its own
// path plus ".ran". Paths are taken in UTF-16, so a program under a folder
// that the ANSI code page cannot name marks itself as well.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::wstring ModulePath() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return length > 0 && length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

}  // namespace

int main() {
    const std::wstring self = ModulePath();
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring out = argv != nullptr && argc > 1 ? std::wstring(argv[1]) : self + L".ran";
    if (argv != nullptr) ::LocalFree(argv);
    HANDLE file =
        ::CreateFileW(out.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const std::string mark = "ran " + Utf8(self) + "\n";
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, mark.data(), static_cast<DWORD>(mark.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == mark.size() ? 0 : 1;
}
