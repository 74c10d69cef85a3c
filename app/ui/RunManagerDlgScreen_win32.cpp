// The manager on screen: the place and columns it remembers for the user,
// the long-text columns sharing the list's width, the status line fitted to
// its width with the whole text as a tip, and each row's whole texts as the
// list's info tip.
#include <algorithm>
#include <vector>

#include "app/ui/ColumnShare.h"
#include "app/ui/PathShortening.h"
#include "app/ui/RememberedWindow.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "app/ui/WindowPlacement_win32.h"
#include "skin/button_looks.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

// The value below the user's settings key that holds the manager's window.
constexpr const char16_t* kRememberedValue = u"Manager";
// The narrowest a sharing column gets on a resize, at 96 DPI.
constexpr int kLeastSharedWidth = 60;
// Posted when the user has set a column's width (wParam: the column): the
// others take up the difference once the list has finished with it.
constexpr UINT kRefitColumnsMessage = WM_APP + 2;

bool IsSharingColumn(int column) {
    return column == static_cast<int>(RunColumn::kTarget) || column == static_cast<int>(RunColumn::kPath);
}

}  // namespace

void CRunManagerDlg::RestorePlace() {
    if (m_services.settingsKey.IsEmpty()) return;
    velmora::app::RememberedWindow remembered;
    if (!velmora::app::ReadRememberedWindow(*m_services.registry, m_services.place.roots.user,
                                            m_services.settingsKey, kRememberedValue, &remembered))
        return;
    if (remembered.columnsAt96.size() == static_cast<std::size_t>(kRunColumnCount)) {
        for (int column = 0; column < kRunColumnCount; ++column) {
            m_listCommands.SetColumnWidth(
                column, velmora::app::RunManagerScaled(remembered.columnsAt96[static_cast<std::size_t>(column)], Dpi()));
        }
    }
    const velmora::skin::SkinRect centred = velmora::app::WindowRectOf(m_hWnd);
    const velmora::skin::SkinRect placed =
        velmora::app::PlaceRemembered(remembered.place, Dpi(), velmora::app::AllWorkAreas(), centred);
    SetWindowPos(nullptr, placed.left, placed.top, placed.Width(), placed.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_normalPlace = placed;
    if (remembered.place.maximised) ShowWindow(SW_MAXIMIZE);
}

void CRunManagerDlg::RememberPlace() {
    if (m_services.settingsKey.IsEmpty() || m_normalPlace.IsEmpty()) return;
    velmora::app::RememberedWindow remembered;
    const velmora::skin::SkinSize size =
        velmora::app::SizeAt96({m_normalPlace.Width(), m_normalPlace.Height()}, Dpi());
    remembered.place.window = velmora::skin::RectAt(m_normalPlace.left, m_normalPlace.top, size.cx, size.cy);
    remembered.place.maximised = IsZoomed() != FALSE;
    for (int column = 0; column < kRunColumnCount; ++column) {
        remembered.columnsAt96.push_back(
            std::max(1, velmora::app::RunManagerRescaled(m_listCommands.GetColumnWidth(column), Dpi(), 96)));
    }
    velmora::app::WriteRememberedWindow(*m_services.registry, m_services.place.roots.user, m_services.settingsKey,
                                        kRememberedValue, remembered);
}

void CRunManagerDlg::NotePlace() {
    if (IsZoomed() || IsIconic()) return;
    m_normalPlace = velmora::app::WindowRectOf(m_hWnd);
}

void CRunManagerDlg::FitColumns(int heldColumn) {
    if (m_listCommands.m_hWnd == nullptr || (heldColumn < 0 && !m_columnsFollowSize)) return;
    RECT client{};
    m_listCommands.GetClientRect(&client);
    std::vector<int> widths;
    std::vector<bool> shares;
    for (int column = 0; column < kRunColumnCount; ++column) {
        widths.push_back(m_listCommands.GetColumnWidth(column));
        shares.push_back(IsSharingColumn(column) && column != heldColumn);
    }
    const std::vector<int> shared =
        velmora::app::ShareColumns(widths, shares, client.right, Scaled(kLeastSharedWidth));
    for (int column = 0; column < kRunColumnCount; ++column) {
        if (shared[static_cast<std::size_t>(column)] != widths[static_cast<std::size_t>(column)])
            m_listCommands.SetColumnWidth(column, shared[static_cast<std::size_t>(column)]);
    }
}

bool CRunManagerDlg::OnHeaderNotify(const NMHDR* pHeader) {
    const auto* change = reinterpret_cast<const NMHEADERW*>(pHeader);
    switch (pHeader->code) {
        case HDN_ENDTRACKW:
        case HDN_ENDTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            // The list sets the width after telling; the share follows it.
            PostMessage(kRefitColumnsMessage, static_cast<WPARAM>(change->iItem));
            return true;
        default:
            return false;
    }
}

bool CRunManagerDlg::OnScreenMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kRefitColumnsMessage:
            FitColumns(static_cast<int>(wParam));
            return true;
        case WM_DPICHANGED: {
            // The new DPI's window rectangle is no resize of the user's: the
            // columns keep their rescaled widths (the base handles the rest).
            const bool follow = m_columnsFollowSize;
            m_columnsFollowSize = false;
            LRESULT ignored = 0;
            CSkinnedToolDlg::ProcessWindowMessage(message, wParam, lParam, ignored);
            m_columnsFollowSize = follow;
            return true;
        }
        case WM_WINDOWPOSCHANGED:
            NotePlace();
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            const HWND hHeader = reinterpret_cast<HWND>(m_listCommands.SendMessage(LVM_GETHEADER));
            return header != nullptr && hHeader != nullptr && header->hwndFrom == hHeader && OnHeaderNotify(header);
        }
        default:
            return false;
    }
}

void CRunManagerDlg::ShowStatusFitted() {
    if (m_lblStatus.m_hWnd == nullptr) return;
    RECT client{};
    m_lblStatus.GetClientRect(&client);
    const int room =
        velmora::skin::StaticTextRect(velmora::skin::ToSkinRect(client), false, 0, m_lblStatus.Dpi()).Width();
    CClientDC dc(m_lblStatus.m_hWnd);
    const velmora::SelectedObject font(dc, m_lblStatus.m_pFont);
    const auto widthOf = [&dc](const CStringW& text) {
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, velmora::WinText(text), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    m_lblStatus.SetWindowText(m_statusText);
    const bool whole = widthOf(m_statusText) <= room;
    m_lblStatus.m_shownText = whole ? CStringW() : velmora::app::FitMessageWidth(m_statusText, room, widthOf);
    m_lblStatus.Invalidate(TRUE);
    // The whole message when the line shows less of it.
    m_statusTip.SetText(whole ? CStringW() : m_statusText);
    RECT area{};
    m_lblStatus.GetWindowRect(&area);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
    m_statusTip.SetArea(area);
}

LRESULT CRunManagerDlg::OnListCustomDraw(NMLVCUSTOMDRAW* pDraw) {
    if (pDraw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (pDraw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    // While a name is edited in its row the list has lost the focus, and
    // would shade the row almost white: it keeps the selection's colours.
    const bool renaming = m_listCommands.SendMessage(LVM_GETEDITCONTROL) != 0;
    const auto row = static_cast<int>(pDraw->nmcd.dwItemSpec);
    if (!renaming || (m_listCommands.SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) == 0) return CDRF_DODEFAULT;
    pDraw->nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    pDraw->clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    pDraw->clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
    return CDRF_NEWFONT;
}

void CRunManagerDlg::OnGetInfoTip(NMLVGETINFOTIPW* pTip) {
    if (pTip->pszText == nullptr || pTip->cchTextMax <= 0) return;
    if (pTip->iItem < 0 || pTip->iItem >= static_cast<int>(m_entries.size())) return;
    ReadRowValues(pTip->iItem);
    const RunEntry& entry = m_entries[static_cast<std::size_t>(pTip->iItem)];
    // Each cell whole, under its heading, one a line.
    CStringW tip;
    for (const RunColumn column : {RunColumn::kCommand, RunColumn::kTarget, RunColumn::kPath}) {
        const CStringW text = CellText(entry, column);
        if (text.IsEmpty()) continue;
        if (!tip.IsEmpty()) tip += u"\r\n";
        tip += velmora::WideFrom936(ColumnHeading(column)) + velmora::WideFrom936("：") + text;
    }
    const std::size_t length = velmora::FittingUnits(tip, static_cast<std::size_t>(pTip->cchTextMax) - 1);
    tip.copy(reinterpret_cast<char16_t*>(pTip->pszText), length);
    pTip->pszText[length] = L'\0';
}
