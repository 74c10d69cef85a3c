#include "app/ui/ImportPreviewDlg_win32.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"
#include "app/ui/ColumnShare.h"
#include "app/ui/PathShortening.h"
#include "app/ui/RunManagerLayout.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "res/resource.h"
#include "wnd/DC.h"

namespace {

constexpr SIZE kPreviewSize{600, 400};
constexpr SIZE kPreviewMinSize{420, 260};
constexpr int kSummaryHeight = 36;
// The narrowest the reason column gets, and the room a cell's text leaves
// at its sides, at 96 DPI.
constexpr int kLeastReasonWidth = 80;
constexpr int kCellPadding = 12;

using velmora::Text;

constexpr Text kTitle{"%s运行命令", "%s run commands"};  // 导入运行命令
constexpr Text kCommandInScope{"%s（%s）", "%s (%s)"};
constexpr Text kLabelled{"%s：%s", "%s: %s"};
constexpr Text kSkippedLine{"%s：第 %s 行，%s", "%s: line %s, %s"};
constexpr Text kReplacedTarget{"%s（原为：%s）", "%s (was: %s)"};
constexpr Text kLineTip{"第 %s 行：%s", "Line %s: %s"};

struct ColumnSpec {
    const Text* heading;
    int width;  // at 96 DPI
};
constexpr int kColumnCount = 3;
constexpr int kCommandColumn = 0;
// The action column, with a skipped line's reason: it takes the width the
// others leave.
constexpr int kReasonColumn = 1;
const ColumnSpec kColumns[kColumnCount] = {
    {&kImportColumnCommand, 150}, {&kImportColumnAction, 170}, {&kImportColumnTarget, 170}};

CStringW ItemCommandText(const ImportItem& item) {
    if (item.command.IsEmpty()) return item.fileKey;
    return velmora::FillIn(velmora::WideFrom936(kCommandInScope),
                           {item.command, velmora::WideFrom936(ScopeText(item.scope))});
}

// The reason alone, for the row's tip, which names the line itself.
CStringW ItemReasonText(const ImportItem& item) {
    if (item.action != ImportAction::kRefused) return CStringW();
    return velmora::FillIn(
        velmora::WideFrom936(kLabelled),
        {velmora::WideFrom936(kImportSkip), velmora::WideFrom936(ImportRefusalText(item.refusal))});
}

CStringW ItemActionText(const ImportItem& item) {
    switch (item.action) {
        case ImportAction::kAdd:
            return velmora::WideFrom936(kImportAdd);
        case ImportAction::kReplace:
            return velmora::WideFrom936(kImportReplace);
        case ImportAction::kRefused:
            break;
    }
    return velmora::FillIn(velmora::WideFrom936(kSkippedLine),
                           {velmora::WideFrom936(kImportSkip), velmora::DecimalText(item.line),
                            velmora::WideFrom936(ImportRefusalText(item.refusal))});
}

CStringW ItemTargetText(const ImportItem& item) {
    if (item.action != ImportAction::kReplace) return item.newTarget;
    return velmora::FillIn(velmora::WideFrom936(kReplacedTarget), {item.newTarget, item.oldTarget});
}

void SetCell(HWND hList, int row, int column, const CStringW& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<LPWSTR>(velmora::WinText(text));
    ::SendMessageW(hList, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

CImportPreviewDlg::CImportPreviewDlg(const ImportPlan& plan, std::vector<bool>& replace, CWnd* pParent)
    : CSkinnedToolDlg(pParent), m_plan(plan), m_replace(replace) {
    m_replace.resize(m_plan.items.size(), false);
    m_resizable = TRUE;
    m_minTrackSize = kPreviewMinSize;
}

BOOL CImportPreviewDlg::OnInitDialog() {
    OpenSkinned(velmora::FillIn(velmora::WideFrom936(kTitle), {velmora::WideFrom936(kImportAction.name)}),
                kPreviewSize);
    int added = 0;
    int replaced = 0;
    int refused = 0;
    for (const ImportItem& item : m_plan.items) {
        added += item.action == ImportAction::kAdd ? 1 : 0;
        replaced += item.action == ImportAction::kReplace ? 1 : 0;
        refused += item.action == ImportAction::kRefused ? 1 : 0;
    }
    AddLabel(m_lblSummary, IDC_CHOICE_TEXT, ImportSummaryText(added, replaced, refused));
    m_listItems.CreateEx(0, WC_LISTVIEWW, CStringW(),
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS |
                             LVS_SINGLESEL | LVS_NOSORTHEADER,
                         RECT{0, 0, 0, 0}, this, IDC_CHOICE_LIST);
    m_listItems.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                            LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    for (int i = 0; i < kColumnCount; ++i) {
        const CStringW heading = velmora::WideFrom936(*kColumns[i].heading);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = Scaled(kColumns[i].width);
        column.pszText = const_cast<LPWSTR>(velmora::WinText(heading));
        column.iSubItem = i;
        m_listItems.SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    FillList();
    AddButton(m_btnImport, IDOK, velmora::WideFrom936(kImportButton));
    AddButton(m_btnCancel, IDCANCEL, velmora::WideFrom936(kCancelButton));
    StartLayout();
    m_listItems.SetFocus();
    return FALSE;
}

std::vector<CQebTransButton*> CImportPreviewDlg::SkinControls() {
    return {&m_lblSummary, &m_btnImport, &m_btnCancel};
}

void CImportPreviewDlg::LayOutControls() {
    RECT inner{};
    GetInnerRect(&inner);
    const int left = inner.left + Scaled(kMargin);
    const int right = inner.right - Scaled(kMargin);
    const int top = inner.top + Scaled(kMargin);
    const int buttonTop = inner.bottom - Scaled(kMargin) - Scaled(kButtonHeight);
    const int listTop = top + Scaled(kSummaryHeight);
    m_lblSummary.MoveWindow(left, top, right - left, Scaled(kSummaryHeight), TRUE);
    m_listItems.SetFont(CFont::TextFont(Dpi()));
    m_listItems.MoveWindow(left, listTop, right - left, buttonTop - Scaled(kMargin) - listTop, TRUE);
    int buttonLeft = right - 2 * Scaled(kButtonWidth) - Scaled(kButtonGap);
    for (CQebTransButton* button : {&m_btnImport, &m_btnCancel}) {
        button->MoveWindow(buttonLeft, buttonTop, Scaled(kButtonWidth), Scaled(kButtonHeight), TRUE);
        buttonLeft += Scaled(kButtonWidth) + Scaled(kButtonGap);
    }
    FitColumns();
}

void CImportPreviewDlg::FitColumns() {
    RECT client{};
    m_listItems.GetClientRect(&client);
    std::vector<int> widths;
    std::vector<bool> shares;
    for (int i = 0; i < kColumnCount; ++i) {
        widths.push_back(
            static_cast<int>(m_listItems.SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i))));
        shares.push_back(i == kReasonColumn);
    }
    const std::vector<int> shared =
        velmora::app::ShareColumns(widths, shares, client.right, Scaled(kLeastReasonWidth));
    for (int i = 0; i < kColumnCount; ++i) {
        if (shared[static_cast<std::size_t>(i)] != widths[static_cast<std::size_t>(i)])
            m_listItems.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                                    shared[static_cast<std::size_t>(i)]);
    }
    ShowKeysFitted();
}

void CImportPreviewDlg::ShowKeysFitted() {
    // A key outside App Paths is shown whole when it fits, else without its
    // middle: the keys of one file differ mostly at their ends.
    const int room =
        static_cast<int>(m_listItems.SendMessage(LVM_GETCOLUMNWIDTH, kCommandColumn)) - Scaled(kCellPadding);
    CClientDC dc(m_listItems.m_hWnd);
    const velmora::SelectedObject font(dc, reinterpret_cast<HFONT>(m_listItems.SendMessage(WM_GETFONT)));
    const auto widthOf = [&dc](const CStringW& text) {
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, velmora::WinText(text), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    for (std::size_t i = 0; i < m_plan.items.size(); ++i) {
        if (!m_plan.items[i].command.IsEmpty()) continue;
        SetCell(m_listItems.m_hWnd, static_cast<int>(i), kCommandColumn,
                velmora::app::ShortenPath(m_plan.items[i].fileKey, room, widthOf));
    }
}

void CImportPreviewDlg::OnGetInfoTip(NMLVGETINFOTIPW* pTip) {
    if (pTip->pszText == nullptr || pTip->cchTextMax <= 0) return;
    if (pTip->iItem < 0 || pTip->iItem >= static_cast<int>(m_plan.items.size())) return;
    const ImportItem& item = m_plan.items[static_cast<std::size_t>(pTip->iItem)];
    // The line and the key whole, then what happens to it and why.
    CStringW tip =
        velmora::FillIn(velmora::WideFrom936(kLineTip), {velmora::DecimalText(item.line), item.fileKey});
    const CStringW what = item.action == ImportAction::kRefused ? ItemReasonText(item) : ItemActionText(item);
    tip += u"\r\n" + what;
    const CStringW target = ItemTargetText(item);
    if (!target.IsEmpty())
        tip += u"\r\n" + velmora::FillIn(velmora::WideFrom936(kLabelled),
                                         {velmora::WideFrom936(kImportColumnTarget), target});
    const std::size_t length = velmora::FittingUnits(tip, static_cast<std::size_t>(pTip->cchTextMax) - 1);
    tip.copy(reinterpret_cast<char16_t*>(pTip->pszText), length);
    pTip->pszText[length] = L'\0';
}

void CImportPreviewDlg::OnFrameDpiChanged(int fromDpi, int toDpi) {
    CSkinnedToolDlg::OnFrameDpiChanged(fromDpi, toDpi);
    // The columns keep the widths the user gave them, at the new scale.
    for (int i = 0; i < kColumnCount; ++i) {
        const auto width =
            static_cast<int>(m_listItems.SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i)));
        m_listItems.SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                                velmora::app::RunManagerRescaled(width, fromDpi, toDpi));
    }
}

void CImportPreviewDlg::FillList() {
    const HWND hList = m_listItems.m_hWnd;
    m_filling = true;
    for (std::size_t i = 0; i < m_plan.items.size(); ++i) {
        const ImportItem& item = m_plan.items[i];
        const CStringW command = ItemCommandText(item);
        LVITEMW row{};
        row.mask = LVIF_TEXT;
        row.iItem = static_cast<int>(i);
        row.pszText = const_cast<LPWSTR>(velmora::WinText(command));
        const int index =
            static_cast<int>(::SendMessageW(hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
        SetCell(hList, index, 1, ItemActionText(item));
        SetCell(hList, index, 2, ItemTargetText(item));
        // Ticked (2): written. Only a replacement's box can be changed; an
        // added entry's stays ticked, a skipped one has none (0), or an
        // unticked one (1) where the list always draws a box.
        int box = 0;
        if (item.action == ImportAction::kReplace) box = m_replace[i] ? 2 : 1;
        if (item.action == ImportAction::kAdd) box = 2;
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(box);
        ::SendMessageW(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }
    m_filling = false;
}

bool CImportPreviewDlg::IsReplaceRow(int row) const {
    return row >= 0 && row < static_cast<int>(m_plan.items.size()) &&
           m_plan.items[static_cast<std::size_t>(row)].action == ImportAction::kReplace;
}

bool CImportPreviewDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_NOTIFY) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change != nullptr && change->hdr.idFrom == IDC_CHOICE_LIST &&
            change->hdr.code == LVN_GETINFOTIPW) {
            OnGetInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(lParam));
            result = 0;
            return true;
        }
        // Only the replacements' boxes change: the others have none to tick.
        if (!m_filling && change != nullptr && change->hdr.idFrom == IDC_CHOICE_LIST &&
            change->hdr.code == LVN_ITEMCHANGING && (change->uChanged & LVIF_STATE) != 0 &&
            ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0 &&
            !IsReplaceRow(change->iItem)) {
            result = TRUE;
            return true;
        }
    }
    return CSkinnedToolDlg::ProcessWindowMessage(message, wParam, lParam, result);
}

void CImportPreviewDlg::OnOK() {
    for (std::size_t i = 0; i < m_plan.items.size(); ++i) {
        if (!IsReplaceRow(static_cast<int>(i))) continue;
        const auto state = static_cast<UINT>(
            m_listItems.SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK));
        m_replace[i] = (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    CQebDialog::OnOK();
}
