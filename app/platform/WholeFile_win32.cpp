#include "app/platform/WholeFile_win32.h"

#include "base/win32_handles.h"

DWORD WriteWholeFile(const CStringW& path, const std::vector<unsigned char>& bytes) {
    DWORD error = ERROR_SUCCESS;
    {
        const velmora::OwnedFile file(::CreateFileW(velmora::WinText(path), GENERIC_WRITE, 0, nullptr,
                                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return ::GetLastError();
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
            error = ::GetLastError();
        } else if (written != bytes.size()) {
            error = ERROR_WRITE_FAULT;
        }
    }
    if (error != ERROR_SUCCESS) ::DeleteFileW(velmora::WinText(path));
    return error;
}

DWORD ReadWholeFile(const CStringW& path, std::size_t maxBytes, std::vector<unsigned char>& bytes) {
    const velmora::OwnedFile file(::CreateFileW(velmora::WinText(path), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return ::GetLastError();
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > maxBytes)
        return ERROR_FILE_TOO_LARGE;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), 0);
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return ::GetLastError();
    // A file that shrank while it was read: what was read, no more.
    bytes.resize(bytes.empty() ? 0 : read);
    return ERROR_SUCCESS;
}
