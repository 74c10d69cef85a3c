#include "app/ui/PathEditDlg_win32.h"

#include <shlobj.h>

#include <algorithm>

#include "app/ui/RunManagerText.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "base/win32_handles.h"
#include "res/resource.h"

namespace {

constexpr SIZE kEditorSize{540, 360};
constexpr int kMargin = 10;
constexpr int kFieldHeight = 22;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
// A folder as long as a Path value can hold.
constexpr int kFolderLimit = 2048;

}  // namespace

CPathEditDlg::CPathEditDlg(const CStringW& strCommand, std::vector<CStringW>& folders, CWnd* pParent)
    : CSkinnedToolDlg(pParent), m_strCommand(strCommand), m_folders(folders), m_editing(folders) {}

BOOL CPathEditDlg::OnInitDialog() {
    OpenSkinned(velmora::FillIn(velmora::WideFrom936("%s：%s"),
                                {velmora::WideFrom936(kEditPathAction.name), m_strCommand}),
                kEditorSize);

    RECT inner{};
    GetInnerRect(&inner);
    const int left = inner.left + Scaled(kMargin);
    const int buttonsLeft = inner.right - Scaled(kMargin) - Scaled(kButtonWidth);
    const int contentRight = buttonsLeft - Scaled(kMargin);
    const int top = inner.top + Scaled(kMargin);
    const int bottomTop = inner.bottom - Scaled(kMargin) - Scaled(kButtonHeight);

    // Tab order: the field, the list, the side buttons, 确定 and 取消.
    m_editFolder.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                        RECT{left, top, contentRight, top + Scaled(kFieldHeight)}, this, IDC_PATH_FOLDER);
    m_editFolder.SetFont(CFont::TextFont(Dpi()));
    m_editFolder.LimitText(kFolderLimit);
    m_listFolders.CreateEx(
        0, L"LISTBOX", CStringW(),
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
            LBS_NOINTEGRALHEIGHT,
        RECT{left, top + Scaled(kFieldHeight) + Scaled(kMargin), contentRight, bottomTop - Scaled(kMargin)},
        this, IDC_CHOICE_LIST);
    m_listFolders.SetFont(CFont::TextFont(Dpi()));

    const struct {
        CQebTransButton* button;
        UINT id;
        const char* text;
    } side[] = {{&m_btnAdd, IDC_BTN_PATH_ADD, "添加"},       {&m_btnBrowse, IDC_BTN_PATH_BROWSE, "浏览…"},
                {&m_btnRemove, IDC_BTN_PATH_REMOVE, "删除"}, {&m_btnUp, IDC_BTN_PATH_UP, "上移"},
                {&m_btnDown, IDC_BTN_PATH_DOWN, "下移"},     {&m_btnOk, IDOK, "确定"},
                {&m_btnCancel, IDCANCEL, kCancelButton}};
    int y = top;
    for (const auto& spec : side) {
        // The side buttons down the right, 确定 and 取消 at the bottom right.
        RECT place{buttonsLeft, y, buttonsLeft + Scaled(kButtonWidth), y + Scaled(kButtonHeight)};
        if (spec.id == IDOK || spec.id == IDCANCEL) {
            const int x =
                spec.id == IDOK ? buttonsLeft - Scaled(kButtonGap) - Scaled(kButtonWidth) : buttonsLeft;
            place = {x, bottomTop, x + Scaled(kButtonWidth), bottomTop + Scaled(kButtonHeight)};
        }
        spec.button->Create(velmora::WideFrom936(spec.text), WS_CHILD | WS_VISIBLE | WS_TABSTOP, place, this,
                            spec.id);
        spec.button->SetBitmap(&m_bmpButton);
        spec.button->SetBkColor(kDialogBackground);
        y += Scaled(kButtonHeight) + Scaled(kButtonGap);
    }
    ShowFolders(m_editing.empty() ? -1 : 0);
    m_editFolder.SetFocus();
    return FALSE;
}

void CPathEditDlg::ShowFolders(int selected) {
    m_listFolders.SendMessage(LB_RESETCONTENT);
    const CStringW missing = velmora::WideFrom936("    （不存在）");
    for (const PathFolder& folder : MarkPathFolders(m_editing, &PathFolderExists)) {
        const CStringW row = folder.missing ? CStringW(folder.folder + missing) : folder.folder;
        m_listFolders.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(velmora::WinText(row)));
    }
    if (selected >= 0) m_listFolders.SendMessage(LB_SETCURSEL, static_cast<WPARAM>(selected));
}

int CPathEditDlg::SelectedRow() const {
    const auto row = static_cast<int>(m_listFolders.SendMessage(LB_GETCURSEL));
    return row >= 0 && row < static_cast<int>(m_editing.size()) ? row : -1;
}

void CPathEditDlg::OnAdd() {
    const CStringW folder = m_editFolder.GetWindowText();
    if (folder.IsEmpty()) return OnBrowse();
    // A folder listed already is not added twice: the field is emptied
    // either way, ready for the next one.
    if (AddPathFolder(m_editing, folder)) ShowFolders(static_cast<int>(m_editing.size()) - 1);
    m_editFolder.SetWindowText(CStringW());
    m_editFolder.SetFocus();
}

void CPathEditDlg::OnBrowse() {
    const CStringW title = velmora::WideFrom936("选择要加入附加路径的文件夹");
    BROWSEINFOW info{};
    info.hwndOwner = m_hWnd;
    info.lpszTitle = velmora::WinText(title);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE pidl = ::SHBrowseForFolderW(&info);
    if (pidl == nullptr) return;
    char16_t buffer[MAX_PATH + 1] = {};
    const BOOL named = ::SHGetPathFromIDListW(pidl, velmora::WinBuffer(buffer));
    ::CoTaskMemFree(pidl);
    if (!named) return;
    if (AddPathFolder(m_editing, CStringW(buffer))) ShowFolders(static_cast<int>(m_editing.size()) - 1);
}

void CPathEditDlg::OnRemove() {
    const int row = SelectedRow();
    if (row < 0 || !RemovePathFolder(m_editing, static_cast<std::size_t>(row))) return;
    ShowFolders(std::min(row, static_cast<int>(m_editing.size()) - 1));
}

void CPathEditDlg::OnMove(bool up) {
    const int row = SelectedRow();
    if (row < 0) return;
    const auto index = static_cast<std::size_t>(row);
    const bool moved = up ? MovePathFolderUp(m_editing, index) : MovePathFolderDown(m_editing, index);
    if (moved) ShowFolders(up ? row - 1 : row + 1);
}

BOOL CPathEditDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDC_BTN_PATH_ADD:
                OnAdd();
                return TRUE;
            case IDC_BTN_PATH_BROWSE:
                OnBrowse();
                return TRUE;
            case IDC_BTN_PATH_REMOVE:
                OnRemove();
                return TRUE;
            case IDC_BTN_PATH_UP:
                OnMove(true);
                return TRUE;
            case IDC_BTN_PATH_DOWN:
                OnMove(false);
                return TRUE;
            default:
                break;
        }
    }
    return CSkinnedToolDlg::OnCommand(wParam, lParam);
}

void CPathEditDlg::OnOK() {
    // Enter in the field adds what was typed; 确定 keeps the list.
    if (::GetFocus() == m_editFolder.m_hWnd && !m_editFolder.GetWindowText().IsEmpty()) return OnAdd();
    m_folders = m_editing;
    CQebDialog::OnOK();
}
