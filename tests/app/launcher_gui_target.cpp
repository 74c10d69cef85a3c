// A windows-subsystem program for the launcher's tests: writes into the file
// named by its first argument its process id and whether it has a console
// and standard handles ("PID console=0 stdin=0 stdout=0 stderr=0"), then
// stays running for a minute, to be ended from outside.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == nullptr || count < 2) return 2;
    const auto has = [](HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE ? '1' : '0'; };
    std::string report = std::to_string(::GetCurrentProcessId()) + " console=" +
                         (::GetConsoleWindow() != nullptr ? '1' : '0') + " stdin=" +
                         has(::GetStdHandle(STD_INPUT_HANDLE)) + " stdout=" + has(::GetStdHandle(STD_OUTPUT_HANDLE)) +
                         " stderr=" + has(::GetStdHandle(STD_ERROR_HANDLE));
    // Written under another name and then renamed: the test never reads half a report.
    const std::wstring path = arguments[1];
    const std::wstring partial = path + L".part";
    ::LocalFree(arguments);
    const HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    ::WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    ::CloseHandle(file);
    if (!::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
    ::Sleep(60000);
    return 0;
}
