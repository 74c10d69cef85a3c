#include "app/ui/PathEditDlg_win32.h"

#include <algorithm>

#include "app/platform/FileDialogs_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "base/win32_handles.h"
#include "res/resource.h"

namespace {

constexpr SIZE kEditorSize{540, 360};
constexpr int kFieldHeight = 22;
// A folder as long as a Path value can hold.
constexpr int kFolderLimit = 2048;

using velmora::Text;

constexpr Text kTitle{"%s：%s", "%s: %s"};  // 编辑附加路径：COMMAND
constexpr Text kAddButton{"添加", "Add"};
constexpr Text kRemoveButton{"删除", "Remove"};
constexpr Text kUpButton{"上移", "Up"};
constexpr Text kDownButton{"下移", "Down"};
constexpr Text kMissingMark{"    （不存在）", "    (not found)"};
constexpr Text kChooseFolder{"选择要加入附加路径的文件夹", "Choose a folder to add to the Path"};

}  // namespace

CPathEditDlg::CPathEditDlg(const CStringW& strCommand, std::vector<CStringW>& folders, CWnd* pParent)
    : CSkinnedToolDlg(pParent), m_strCommand(strCommand), m_folders(folders), m_editing(folders) {}

BOOL CPathEditDlg::OnInitDialog() {
    OpenSkinned(velmora::FillIn(velmora::WideFrom936(kTitle),
                                {velmora::WideFrom936(kEditPathAction.name), m_strCommand}),
                kEditorSize);
    // Tab order: the field, the list, the side buttons, 确定 and 取消.
    const RECT none{0, 0, 0, 0};
    m_editFolder.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, none, this,
                        IDC_PATH_FOLDER);
    m_editFolder.LimitText(kFolderLimit);
    m_listFolders.CreateEx(0, L"LISTBOX", CStringW(),
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL |
                               LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                           none, this, IDC_CHOICE_LIST);
    AddButton(m_btnAdd, IDC_BTN_PATH_ADD, velmora::WideFrom936(kAddButton));
    AddButton(m_btnBrowse, IDC_BTN_PATH_BROWSE, velmora::WideFrom936(kBrowseButton));
    AddButton(m_btnRemove, IDC_BTN_PATH_REMOVE, velmora::WideFrom936(kRemoveButton));
    AddButton(m_btnUp, IDC_BTN_PATH_UP, velmora::WideFrom936(kUpButton));
    AddButton(m_btnDown, IDC_BTN_PATH_DOWN, velmora::WideFrom936(kDownButton));
    AddButton(m_btnOk, IDOK, velmora::WideFrom936(kOkButton));
    AddButton(m_btnCancel, IDCANCEL, velmora::WideFrom936(kCancelButton));
    StartLayout();
    ShowFolders(m_editing.empty() ? -1 : 0);
    m_editFolder.SetFocus();
    return FALSE;
}

std::vector<CQebTransButton*> CPathEditDlg::SkinControls() {
    return {&m_btnAdd, &m_btnBrowse, &m_btnRemove, &m_btnUp, &m_btnDown, &m_btnOk, &m_btnCancel};
}

void CPathEditDlg::LayOutControls() {
    RECT inner{};
    GetInnerRect(&inner);
    const int left = inner.left + Scaled(kMargin);
    const int buttonsLeft = inner.right - Scaled(kMargin) - Scaled(kButtonWidth);
    const int contentRight = buttonsLeft - Scaled(kMargin);
    const int top = inner.top + Scaled(kMargin);
    const int bottomTop = inner.bottom - Scaled(kMargin) - Scaled(kButtonHeight);
    const int fieldBottom = top + Scaled(kFieldHeight);
    m_editFolder.SetFont(CFont::TextFont(Dpi()));
    m_listFolders.SetFont(CFont::TextFont(Dpi()));
    m_editFolder.MoveWindow(left, top, contentRight - left, fieldBottom - top, TRUE);
    const int listTop = fieldBottom + Scaled(kMargin);
    m_listFolders.MoveWindow(left, listTop, contentRight - left, bottomTop - Scaled(kMargin) - listTop, TRUE);
    // The side buttons down the right, 确定 and 取消 at the bottom right.
    int y = top;
    for (CQebTransButton* button : {&m_btnAdd, &m_btnBrowse, &m_btnRemove, &m_btnUp, &m_btnDown}) {
        button->MoveWindow(buttonsLeft, y, Scaled(kButtonWidth), Scaled(kButtonHeight), TRUE);
        y += Scaled(kButtonHeight) + Scaled(kButtonGap);
    }
    m_btnOk.MoveWindow(buttonsLeft - Scaled(kButtonGap) - Scaled(kButtonWidth), bottomTop,
                       Scaled(kButtonWidth), Scaled(kButtonHeight), TRUE);
    m_btnCancel.MoveWindow(buttonsLeft, bottomTop, Scaled(kButtonWidth), Scaled(kButtonHeight), TRUE);
}

void CPathEditDlg::ShowFolders(int selected) {
    m_listFolders.SendMessage(LB_RESETCONTENT);
    const CStringW missing = velmora::WideFrom936(kMissingMark);
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
    const CStringW folder = AskFolder(m_hWnd, velmora::WideFrom936(kChooseFolder));
    if (!folder.IsEmpty() && AddPathFolder(m_editing, folder))
        ShowFolders(static_cast<int>(m_editing.size()) - 1);
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
