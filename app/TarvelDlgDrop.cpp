// The main dialog's intake of a file dropped from the shell.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/CommandText.h"
#include "app/TarvelDlg.h"
#include "base/win32_handles.h"

namespace {

// The first dropped file's full path in UTF-16, whatever its length: the
// buffer grows to the length the shell reports, so a longer path arrives
// whole instead of cut short.
CStringW ReadFirstDroppedPath(HDROP hDrop) {
    return velmora::ReadGrowingText([hDrop](char16_t* buffer, std::size_t capacity) -> std::size_t {
        const UINT needed = ::DragQueryFileW(hDrop, 0, nullptr, 0);
        if (needed >= capacity) return needed;
        return ::DragQueryFileW(hDrop, 0, velmora::WinBuffer(buffer), static_cast<UINT>(capacity));
    });
}

}  // namespace

void CTarvelDlg::OnDropFiles(HDROP hDropInfo) {
    // Handed back to the shell however the handler leaves.
    const velmora::OwnedDrop drop(hDropInfo);
    m_strExePath.Empty();
    if (::DragQueryFileW(hDropInfo, 0xFFFFFFFF, nullptr, 0) == 0) return;

    const CStringW strPath = ReadFirstDroppedPath(hDropInfo);
    m_editCommandName.SetWindowText(GetFileTitleFromPath(strPath));
    if (!HasExeExtension(strPath)) return;

    m_strExePath = strPath;
    ShowDroppedFileIcon(strPath);
}
