// The main dialog's intake of a file dropped from the shell.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/CommandText.h"
#include "app/TarvelDlg.h"
#include "base/win32_handles.h"

namespace {

// The first dropped file's full path. The buffer holds at least the
// platform's 260 bytes and grows to the name's length, so a longer path
// arrives whole instead of cut short.
CString ReadFirstDroppedPath(HDROP hDrop) {
    const UINT needed = ::DragQueryFileA(hDrop, 0, nullptr, 0);
    const UINT capacity = needed + 1 > MAX_PATH ? needed + 1 : MAX_PATH;
    CString strPath;
    char* buffer = strPath.GetBufferSetLength(static_cast<int>(capacity));
    ZeroMemory(buffer, capacity);
    const UINT copied = ::DragQueryFileA(hDrop, 0, buffer, capacity);
    strPath.ReleaseBuffer(copied < capacity ? static_cast<int>(copied) : 0);
    return strPath;
}

}  // namespace

void CTarvelDlg::OnDropFiles(HDROP hDropInfo) {
    // Handed back to the shell however the handler leaves.
    const velmora::OwnedDrop drop(hDropInfo);
    m_strExePath.Empty();
    if (::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0) == 0) return;

    const CString strPath = ReadFirstDroppedPath(hDropInfo);
    m_editCommandName.SetWindowText(GetFileTitleFromPath(strPath));
    if (!HasExeExtension(strPath)) return;

    m_strExePath = strPath;
    ShowDroppedFileIcon(strPath);
}
