// The icon of an accepted dropped executable, shown in the middle of the
// main dialog.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/TargetFile.h"
#include "app/TarvelDlg.h"
#include "app/TarvelDlgLayout.h"
#include "icons/extract_icons.h"

void CTarvelDlg::ShowDroppedFileIcon(const CStringW& strPath) {
    const CStringW strReadPath = PathToReadHere(strPath);
    // The shell's icon only tells whether the file has one at all: without
    // it the icon shown so far stays.
    HICON hLarge = nullptr;
    if (::ExtractIconExW(velmora::WinText(strReadPath), 0, &hLarge, nullptr, 1) == 0 || hLarge == nullptr)
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
