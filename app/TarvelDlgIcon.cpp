// The icon of an accepted dropped executable, shown in the middle of the
// main dialog.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/TarvelDlg.h"

namespace {

constexpr int kFileIconSize = 48;

}  // namespace

void CTarvelDlg::ShowDroppedFileIcon(const CString& strPath) {
    HICON hLarge = nullptr;
    if (::ExtractIconExA(strPath, 0, &hLarge, nullptr, 1) == 0 || hLarge == nullptr) return;

    m_hFileIcon.Release();
    m_hFileIcon48.Release();
    m_hFileIcon.Attach(hLarge);
    // A 48 x 48 rendering of the shell's icon, scaled by the system from the
    // closest image it has.
    m_hFileIcon48.Attach(static_cast<HICON>(
        ::CopyImage(hLarge, IMAGE_ICON, kFileIconSize, kFileIconSize, LR_COPYFROMRESOURCE)));
    Invalidate(TRUE);
}
