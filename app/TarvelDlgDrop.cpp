// The main dialog's intake of a file dropped from the shell.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/CommandText.h"
#include "app/DroppedFile.h"
#include "app/TarvelDlg.h"
#include "base/win32_handles.h"

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
