#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>

#include <algorithm>

#include "app/platform/FileDialogs_win32.h"
#include "base/win32_handles.h"
#include "base/shell_on_demand_win32.h"

namespace {

// Room for a long path chosen in the dialog.
constexpr std::size_t kFileNameUnits = 32768;

// "a|b|" as the dialog wants it: the pieces ended by zeros, then one more.
std::u16string FilterText(const char* filter) {
    std::u16string text = velmora::WideFrom936(filter);
    for (char16_t& ch : text) {
        if (ch == u'|') ch = u'\0';
    }
    text.push_back(u'\0');
    return text;
}

CStringW Ask(HWND hOwner, const char* filter, const CStringW& initial, const CStringW& defaultExtension,
             bool save) {
    const std::u16string filterText = FilterText(filter);
    std::u16string buffer(kFileNameUnits, u'\0');
    CStringW folder;
    CStringW name = initial;
    const int slash = initial.ReverseFind(u'\\');
    if (slash >= 0) {
        folder = initial.Left(slash + 1);
        name = initial.Mid(slash + 1);
    }
    name.copy(buffer.data(), std::min<std::size_t>(name.size(), kFileNameUnits - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hOwner;
    ofn.lpstrFilter = velmora::WinText(filterText.c_str());
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = velmora::WinBuffer(buffer.data());
    ofn.nMaxFile = static_cast<DWORD>(kFileNameUnits);
    ofn.lpstrInitialDir = folder.IsEmpty() ? nullptr : velmora::WinText(folder);
    ofn.lpstrDefExt = defaultExtension.IsEmpty() ? nullptr : velmora::WinText(defaultExtension);
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER |
                (save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    const BOOL chosen = save ? velmora::shell::GetSaveFileNameW(&ofn) : velmora::shell::GetOpenFileNameW(&ofn);
    if (!chosen) return CStringW();
    return velmora::FromWin(velmora::WinBuffer(buffer.data()));
}

}  // namespace

CStringW AskOpenFileName(HWND hOwner, const char* filter, const CStringW& initialFile) {
    return Ask(hOwner, filter, initialFile, CStringW(), false);
}

CStringW AskSaveFileName(HWND hOwner, const char* filter, const CStringW& defaultName,
                         const CStringW& defaultExtension) {
    return Ask(hOwner, filter, defaultName, defaultExtension, true);
}

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
