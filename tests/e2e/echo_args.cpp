// A console program that tells how it was started, for the launcher's tests:
// on standard output, as UTF-8, its command line (GetCommandLineW), the
// first folder of its PATH, and each argument as CommandLineToArgvW splits
// it, one a line:
//   line:<command line>
//   path:<first PATH entry>
//   arg:<argument 1>
//   ...
// With VELMORA_ECHO_VARIABLE naming a variable it also tells its working
// folder and that variable (cwd:<folder>, var:<NAME>=<value>); with
// VELMORA_ECHO_OUT naming a file it writes all of it there instead.
// It exits with 42, or with the number in VELMORA_ECHO_EXIT_CODE. With
// VELMORA_ECHO_PID_FILE set it writes its process id into that file first
// and then waits two minutes, to be ended from outside.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

namespace {

std::wstring Environment(const wchar_t* name);

void Write(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), bytes, nullptr,
                          nullptr);
    DWORD written = 0;
    const std::wstring file = Environment(L"VELMORA_ECHO_OUT");
    if (file.empty()) {
        ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
                    nullptr);
        return;
    }
    const HANDLE out = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(out);
}

std::wstring Environment(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

}  // namespace

int main() {
    const std::wstring pidFile = Environment(L"VELMORA_ECHO_PID_FILE");
    if (!pidFile.empty()) {
        // Written under another name and then renamed: never read half written.
        const std::string pid = std::to_string(::GetCurrentProcessId());
        const std::wstring partial = pidFile + L".part";
        const HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        DWORD written = 0;
        ::WriteFile(file, pid.data(), static_cast<DWORD>(pid.size()), &written, nullptr);
        ::CloseHandle(file);
        if (!::MoveFileExW(partial.c_str(), pidFile.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
        ::Sleep(120000);
    }
    const wchar_t* line = ::GetCommandLineW();
    std::wstring path = Environment(L"PATH");
    path = path.substr(0, path.find(L';'));
    Write(L"line:" + std::wstring(line) + L"\n" + L"path:" + path + L"\n");
    const std::wstring variable = Environment(L"VELMORA_ECHO_VARIABLE");
    if (!variable.empty()) {
        std::wstring folder(32768, L'\0');
        folder.resize(::GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
        Write(L"cwd:" + folder + L"\nvar:" + variable + L"=" + Environment(variable.c_str()) + L"\n");
    }
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(line, &count);
    for (int i = 1; arguments != nullptr && i < count; ++i) Write(L"arg:" + std::wstring(arguments[i]) + L"\n");
    ::LocalFree(arguments);
    const std::wstring code = Environment(L"VELMORA_ECHO_EXIT_CODE");
    return code.empty() ? 42 : _wtoi(code.c_str());
}
