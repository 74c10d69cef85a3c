// The manager's creation, its message dispatch and layout, and the list's
// notifications: each row drawn from the model.
#include "app/ui/RunManagerDlg_win32.h"

#include <algorithm>
#include <initializer_list>

#include "app/ui/RunManagerLayout.h"
#include "app/ui/RunManagerMessages_win32.h"
#include "app/ui/SkinnedFrame_win32.h"
#include "res/resource.h"
#include "skin/dpi_scale.h"
#include "wnd/DC.h"
#include "wnd/MessageFilter.h"
#include "wnd/WinApp.h"

namespace {

using velmora::app::kRunManagerMinSize;
using velmora::app::kRunManagerSize;

struct ColumnSpec {
    RunColumn column;
    int width;
};
constexpr ColumnSpec kColumns[kRunColumnCount] = {{RunColumn::kCommand, 120}, {RunColumn::kTarget, 200},
                                                  {RunColumn::kScope, 60},    {RunColumn::kState, 70},
                                                  {RunColumn::kPath, 130},    {RunColumn::kTerminal, 50}};

// Longest filter text: more than any command, target or Path value needs.
constexpr int kFilterLimit = 260;

// A search by text: LVFI_PARTIAL implies LVFI_STRING.
constexpr UINT kTextSearch = LVFI_STRING | LVFI_PARTIAL;

// The rows' icons at 96 DPI: 16 pixels, read at the window's scale.
constexpr int kIconSize = 16;

// Between a heading and its cell in a row's tip.
constexpr velmora::Text kTipSeparator{"：", ": "};

}  // namespace

using velmora::app::kAskIconsMessage;
using velmora::app::kIconsReadMessage;
using velmora::app::kValueFillTimer;

CRunManagerDlg::CRunManagerDlg(const AppServices& services, CWnd* pParent)
    : CSkinnedToolDlg(pParent),
      m_services(services),
      m_rowIcons(services.iconReader ? services.iconReader
                                     : FileIconLoader::Reader(&FileIconLoader::ReadTargetFileIcon)) {
    m_resizable = TRUE;
    m_minTrackSize = SIZE{kRunManagerMinSize.cx, kRunManagerMinSize.cy};
    // A resizable frame offers maximise as well.
    m_btnMax.m_notifyParent = true;
}

BOOL CRunManagerDlg::OnInitDialog() {
    OpenSkinned(velmora::WideFrom936(kRunManagerTitle), SIZE{kRunManagerSize.cx, kRunManagerSize.cy});

    const HICON hAppIcon = ::LoadIconW(GetResourceInstance(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hAppIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hAppIcon));

    // Created in tab order: the list, the filter, then the buttons.
    const RECT none{0, 0, 0, 0};
    // The list's own invalidations leave its header (and the rename field)
    // out: the header's columns stay as they were when the rows change, and
    // drawing them again, themed, costs a keystroke of the filter more than
    // its rows do under Wine.
    m_listCommands.Create(
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_CLIPCHILDREN | LVS_SHOWSELALWAYS | LVS_EDITLABELS,
        none, this, IDC_RUN_LIST);
    m_listCommands.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
    // Headings, scopes and marks are Chinese, and so may be any name.
    m_listCommands.SetFont(CFont::TextFont(Dpi()));
    // As designed, or as wide as the column's heading and fixed words need.
    for (const ColumnSpec& spec : kColumns) {
        int widest = 0;
        for (const CStringW& text : FixedColumnTexts(spec.column))
            widest = std::max(widest, TextWidthOf(m_listCommands.m_hWnd, CFont::TextFont(Dpi()), text));
        m_listCommands.InsertColumn(
            static_cast<int>(spec.column), velmora::WideFrom936(ColumnHeading(spec.column)), LVCFMT_LEFT,
            velmora::app::FittingWidth(spec.width, widest, velmora::app::kCellTextPadding, Dpi()));
    }
    // Rows are as high as their icons.
    m_rowIcons.Start(m_hWnd, m_listCommands, velmora::app::RunManagerScaled(kIconSize, Dpi()));

    AddLabel(m_lblFilter, IDC_RUN_FILTER_LABEL, velmora::WideFrom936(kFilterLabel));
    m_editFilter.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, none, this,
                        IDC_RUN_FILTER);
    m_editFilter.SetFont(CFont::TextFont(Dpi()));
    m_editFilter.LimitText(kFilterLimit);
    m_editFilter.SendMessage(EM_SETCUEBANNER, TRUE,
                             reinterpret_cast<LPARAM>(velmora::WinText(velmora::WideFrom936(kFilterHint))));

    std::size_t count = 0;
    const RunManagerCommand* commands = RunManagerCommands(&count);
    int button = 0;
    for (std::size_t i = 0; i < count && button < velmora::app::kRunManagerButtonCount; ++i) {
        if (!commands[i].button) continue;
        AddButton(m_buttons[button++], commands[i].id, velmora::WideFrom936(commands[i].text->name));
    }
    AddLabel(m_lblStatus, IDC_RUN_STATUS, CStringW());
    m_screen.CreateStatusTip();

    // A program dropped on the manager becomes the selected entry's target.
    DragAcceptFiles(TRUE);
    AllowDroppedFiles(m_hWnd, m_services.messageFilter);

    StartLayout();
    if (m_services.watchListing) m_listingWatch = m_services.watchListing(m_services.place);
    Refresh();
    m_screen.Open();
    m_listCommands.SetFocus();
    // The focus is set.
    return FALSE;
}

bool CRunManagerDlg::NeedsEveryValue(UINT message, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_CONTEXTMENU:
        case WM_DROPFILES:
            return true;
        case WM_NOTIFY: {
            // Drawing a row reads that row; what acts on rows needs them all.
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr || header->idFrom != IDC_RUN_LIST) return false;
            switch (header->code) {
                case LVN_COLUMNCLICK:
                case LVN_KEYDOWN:
                case LVN_BEGINLABELEDITW:
                case LVN_ENDLABELEDITW:
                case NM_DBLCLK:
                    return true;
                default:
                    return false;
            }
        }
        default:
            return false;
    }
}

bool CRunManagerDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (NeedsEveryValue(message, lParam)) FinishListing();
    if (m_screen.OnMessage(message, wParam, lParam)) {
        result = 0;
        return true;
    }
    switch (message) {
        case WM_DPICHANGED:
            // The new DPI's window rectangle is no resize of the user's: the
            // columns keep their rescaled widths.
            m_screen.KeepingColumns(
                [&] { CSkinnedToolDlg::ProcessWindowMessage(message, wParam, lParam, result); });
            result = 0;
            return true;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return true;
        case kIconsReadMessage:
            OnIconsRead();
            return true;
        case kAskIconsMessage:
            m_rowIcons.AskIcons();
            return true;
        case WM_TIMER:
            if (wParam != kValueFillTimer) break;
            OnValueFillTimer();
            return true;
        case WM_DESTROY:
            // No reading for a window that is going; the base goes on.
            m_rowIcons.Stop();
            m_screen.RememberPlace();
            break;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != m_listCommands.m_hWnd) break;
            // Screen coordinates, negative on a monitor left of or above the
            // first; both -1 from the keyboard.
            OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header == nullptr || header->idFrom != IDC_RUN_LIST) break;
            result = OnListNotify(header);
            return true;
        }
        default:
            break;
    }
    return CSkinnedToolDlg::ProcessWindowMessage(message, wParam, lParam, result);
}

BOOL CRunManagerDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    if (id == IDC_RUN_FILTER && HIWORD(wParam) == EN_CHANGE) {
        OnFilterChanged();
        return TRUE;
    }
    // A button's click and a menu item both arrive with code 0.
    if (HIWORD(wParam) != BN_CLICKED || !RunCommand(id)) return CSkinnedToolDlg::OnCommand(wParam, lParam);
    // The keys (Delete, type-ahead) work on the list again at once; the
    // rename edits in the list itself and keeps the focus in its field.
    if (id != IDM_RUN_RENAME) m_listCommands.SetFocus();
    return TRUE;
}

std::vector<CQebTransButton*> CRunManagerDlg::SkinControls() {
    std::vector<CQebTransButton*> controls{&m_lblFilter, &m_lblStatus};
    for (CQebTransButton& button : m_buttons) controls.push_back(&button);
    return controls;
}

void CRunManagerDlg::LayOutControls() {
    if (m_listCommands.m_hWnd == nullptr) return;
    RECT inner{};
    GetInnerRect(&inner);
    // Each label and button as wide as its words need, in its own font.
    velmora::app::RunManagerTextWidths texts;
    texts.filterLabel = TextWidthOf(m_lblFilter.m_hWnd, m_lblFilter.m_pFont, m_lblFilter.GetWindowText());
    for (int i = 0; i < velmora::app::kRunManagerButtonCount; ++i)
        texts.buttons[i] =
            TextWidthOf(m_buttons[i].m_hWnd, m_buttons[i].m_pFont, m_buttons[i].GetWindowText());
    const velmora::app::RunManagerLayout layout =
        velmora::app::LayOutRunManager({inner.left, inner.top, inner.right, inner.bottom}, Dpi(), texts);
    const auto place = [](CWnd& control, const velmora::skin::SkinRect& r) {
        control.MoveWindow(r.left, r.top, r.Width(), r.Height(), TRUE);
    };
    place(m_lblFilter, layout.filterLabel);
    place(m_editFilter, layout.filter);
    place(m_listCommands, layout.list);
    place(m_lblStatus, layout.status);
    for (int i = 0; i < velmora::app::kRunManagerButtonCount; ++i) place(m_buttons[i], layout.buttons[i]);
    m_screen.FitColumns();
    m_screen.ShowStatusFitted();
}

void CRunManagerDlg::OnFrameDpiChanged(int fromDpi, int toDpi) {
    CSkinnedToolDlg::OnFrameDpiChanged(fromDpi, toDpi);
    m_listCommands.SetFont(CFont::TextFont(toDpi));
    m_editFilter.SetFont(CFont::TextFont(toDpi));
    for (const ColumnSpec& spec : kColumns) {
        const int column = static_cast<int>(spec.column);
        m_listCommands.SetColumnWidth(
            column, velmora::app::RunManagerRescaled(m_listCommands.GetColumnWidth(column), fromDpi, toDpi));
    }
    // The row icons are read again at the new size.
    m_rowIcons.MakeImageList(velmora::app::RunManagerScaled(kIconSize, toDpi));
    m_listCommands.Invalidate(TRUE);
    // The new window rectangle that follows lays the controls out.
}

LRESULT CRunManagerDlg::OnListNotify(NMHDR* pHeader) {
    switch (pHeader->code) {
        // The dialog is a Unicode window: the list notifies in UTF-16.
        case LVN_GETDISPINFOW:
            OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(pHeader));
            return 0;
        case LVN_ODFINDITEMW: {
            const auto* find = reinterpret_cast<NMLVFINDITEMW*>(pHeader);
            if ((find->lvfi.flags & kTextSearch) == 0 || find->lvfi.psz == nullptr) return -1;
            // Type-ahead: the next row whose command starts with the text.
            return m_model.FindRowByPrefix(velmora::FromWin(find->lvfi.psz), find->iStart);
        }
        case LVN_COLUMNCLICK:
            OnColumnClick(reinterpret_cast<NMLISTVIEW*>(pHeader)->iSubItem);
            return 0;
        case LVN_KEYDOWN:
            OnListKey(reinterpret_cast<NMLVKEYDOWN*>(pHeader)->wVKey);
            return 0;
        // Any one row's name can be edited; the end of the edit renames.
        case LVN_BEGINLABELEDITW:
            OnBeginRename();
            return FALSE;
        case LVN_ENDLABELEDITW:
            OnEndRename(reinterpret_cast<NMLVDISPINFOW*>(pHeader));
            return FALSE;
        case NM_CUSTOMDRAW:
            return OnListCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(pHeader));
        case LVN_GETINFOTIPW:
            OnGetInfoTip(reinterpret_cast<NMLVGETINFOTIPW*>(pHeader));
            return 0;
        case NM_DBLCLK:
            if (reinterpret_cast<NMITEMACTIVATE*>(pHeader)->iItem >= 0) OnOpenLocation();
            return 0;
        default:
            return 0;
    }
}

void CRunManagerDlg::OnGetDispInfo(NMLVDISPINFOW* pInfo) {
    LVITEMW& item = pInfo->item;
    ReadRowValues(item.iItem);
    const RunEntry* entry = m_model.EntryOfRow(item.iItem);
    if (entry == nullptr) return;
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const int column = item.iSubItem >= 0 && item.iSubItem < kRunColumnCount ? item.iSubItem : 0;
        const CStringW text = CellText(*entry, static_cast<RunColumn>(column));
        const std::size_t length = velmora::FittingUnits(text, static_cast<std::size_t>(item.cchTextMax) - 1);
        text.copy(reinterpret_cast<char16_t*>(item.pszText), length);
        item.pszText[length] = L'\0';
    }
    if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0) item.iImage = m_rowIcons.ImageOf(*entry);
}

void CRunManagerDlg::OnGetInfoTip(NMLVGETINFOTIPW* pTip) {
    if (pTip->pszText == nullptr || pTip->cchTextMax <= 0) return;
    ReadRowValues(pTip->iItem);
    const RunEntry* entry = m_model.EntryOfRow(pTip->iItem);
    if (entry == nullptr) return;
    // Each cell whole, under its heading, one a line.
    CStringW tip;
    for (const RunColumn column : {RunColumn::kCommand, RunColumn::kTarget, RunColumn::kPath}) {
        const CStringW text = CellText(*entry, column);
        if (text.IsEmpty()) continue;
        if (!tip.IsEmpty()) tip += u"\r\n";
        tip += velmora::WideFrom936(ColumnHeading(column)) + velmora::WideFrom936(kTipSeparator) + text;
    }
    for (const CStringW& line : OptionLines(entry->options)) tip += u"\r\n" + line;
    const std::size_t length = velmora::FittingUnits(tip, static_cast<std::size_t>(pTip->cchTextMax) - 1);
    tip.copy(reinterpret_cast<char16_t*>(pTip->pszText), length);
    pTip->pszText[length] = L'\0';
}

LRESULT CRunManagerDlg::OnListCustomDraw(NMLVCUSTOMDRAW* pDraw) {
    // While a name is edited in its row the list has lost the focus, and
    // would shade the row almost white: it keeps the selection's colours.
    // Only then is each row's drawing asked about: under Wine every
    // notification costs several trips to the wineserver.
    const bool renaming = m_listCommands.SendMessage(LVM_GETEDITCONTROL) != 0;
    if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) return renaming ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    if (pDraw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT || !renaming) return CDRF_DODEFAULT;
    const auto row = static_cast<int>(pDraw->nmcd.dwItemSpec);
    if ((m_listCommands.SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) &
         LVIS_SELECTED) == 0)
        return CDRF_DODEFAULT;
    pDraw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    pDraw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    pDraw->clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
    return CDRF_NEWFONT;
}

void CRunManagerDlg::OnIconsRead() {
    const int top = m_listCommands.GetTopIndex();
    // The last row on screen may be shown in part.
    const int onScreen = m_listCommands.GetCountPerPage() + 1;
    for (const CStringW& file : m_rowIcons.TakeIconsRead()) {
        for (int row : m_model.RowsShowingIconOf(top, onScreen, file)) m_listCommands.RedrawItems(row, row);
    }
}

void CRunManagerDlg::OnCancel() {
    if (::GetFocus() == m_editFilter.m_hWnd && !m_editFilter.GetWindowText().IsEmpty()) {
        m_editFilter.SetWindowText(CStringW());
        return;
    }
    CQebDialog::OnCancel();
}
