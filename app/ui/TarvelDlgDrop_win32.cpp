// The main dialog's intake of a file dropped from the shell, and the
// dropped program's icon shown in its middle.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/platform/DroppedFile_win32.h"
#include "app/platform/Shortcuts_win32.h"
#include "app/platform/TakenFile.h"
#include "app/platform/TargetFile_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/ui/TarvelDlgLayout.h"
#include "app/ui/TarvelDlg_win32.h"
#include "base/shell_on_demand_win32.h"
#include "base/win32_handles.h"
#include "icons/extract_icons.h"

void CTarvelDlg::OnDropFiles(HDROP hDropInfo) {
    // Handed back to the shell however the handler leaves.
    const velmora::OwnedDrop drop(hDropInfo);
    m_strExePath.Empty();
    if (velmora::shell::DragQueryFileW(hDropInfo, 0xFFFFFFFF, nullptr, 0) == 0) return;

    TakeDroppedFile(ReadFirstDroppedPath(hDropInfo));
}

void CTarvelDlg::TakeDroppedFile(const CStringW& strPath) {
    const TakenFile taken = TakeFile(strPath, &ReadShortcutTarget);
    m_editCommandName.SetWindowText(taken.proposedName);
    m_strExePath = taken.program;
    if (!taken.program.IsEmpty()) ShowDroppedFileIcon(taken.program);
}

void CTarvelDlg::ShowDroppedFileIcon(const CStringW& strPath) {
    const CStringW strReadPath = PathToReadHere(strPath);
    // The shell's icon only tells whether the file has one at all: without
    // it the icon shown so far stays.
    HICON hLarge = nullptr;
    if (velmora::shell::ExtractIconExW(velmora::WinText(strReadPath), 0, &hLarge, nullptr, 1) == 0 ||
        hLarge == nullptr)
        return;

    m_hFileIcon48.Destroy();
    m_hFileIcon.Attach(hLarge);

    // The file's own image at 48 x 48 scaled to the window's DPI, read from
    // its resources; none leaves the slot empty and nothing is drawn.
    const int side = velmora::app::DroppedFileIconSize(Dpi());
    HICON hIcon48 = nullptr;
    velmora::ExtractFileIconsW(velmora::WinText(strReadPath), 0, side, side, &hIcon48, nullptr, 1, LR_COLOR);
    m_hFileIcon48.Attach(hIcon48);
    Invalidate(TRUE);
}
