// The main dialog's frame skin: the tool's shared frame, with bitmap 132 kept
// for the add button, all at the window's DPI.
#include "app/SkinnedFrame.h"
#include "app/TarvelDlg.h"

void CTarvelDlg::SetUpFrameSkin() {
    SetUpSkinnedFrame(*this, m_bmpCaptionButtons, m_bmpFrame, m_bmpAddButton, Dpi());
}
