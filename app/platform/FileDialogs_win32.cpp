#include <windows.h>
// after windows.h, which it needs
#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>

#include "app/platform/FileDialogs_win32.h"
#include "base/shell_on_demand_win32.h"
#include "base/win32_handles.h"

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
    const BOOL chosen =
        save ? velmora::shell::GetSaveFileNameW(&ofn) : velmora::shell::GetOpenFileNameW(&ofn);
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

CStringW AskFolder(HWND hOwner, const CStringW& title) {
    BROWSEINFOW info{};
    info.hwndOwner = hOwner;
    info.lpszTitle = velmora::WinText(title);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE pidl = velmora::shell::SHBrowseForFolderW(&info);
    if (pidl == nullptr) return CStringW();
    // The folder's path at whatever length the shell has it: no fixed buffer.
    PWSTR name = nullptr;
    const HRESULT named = velmora::shell::SHGetNameFromIDList(pidl, SIGDN_FILESYSPATH, &name);
    ::CoTaskMemFree(pidl);
    if (FAILED(named) || name == nullptr) return CStringW();
    const CStringW folder = velmora::FromWin(name);
    ::CoTaskMemFree(name);
    return folder;
}
