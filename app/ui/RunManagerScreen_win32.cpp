#include "app/ui/RunManagerScreen_win32.h"

#include <algorithm>
#include <vector>

#include "app/runcmd/RunEntrySort.h"
#include "app/ui/ColumnShare.h"
#include "app/ui/PathShortening.h"
#include "app/ui/RememberedWindow.h"
#include "app/ui/RunManagerLayout.h"
#include "app/ui/RunManagerMessages_win32.h"
#include "app/ui/WindowPlacement_win32.h"
#include "skin/button_looks.h"
#include "skin/dpi_scale.h"
#include "skin/win32_facts.h"
#include "wnd/DC.h"

namespace {

// The value below the user's settings key that holds the manager's window.
constexpr const char16_t* kRememberedValue = u"Manager";
// The narrowest a sharing column gets on a resize, at 96 DPI.
constexpr int kLeastSharedWidth = 60;

bool IsSharingColumn(int column) {
    return column == static_cast<int>(RunColumn::kTarget) || column == static_cast<int>(RunColumn::kPath);
}

}  // namespace

RunManagerScreen::RunManagerScreen(CQebDialog& window, CListCtrl& list, CQebTransButton& status,
                                   const AppServices& services)
    : m_window(window), m_list(list), m_status(status), m_services(services) {}

void RunManagerScreen::CreateStatusTip() { m_statusTip.Create(m_window, RECT{0, 0, 0, 0}); }

void RunManagerScreen::Open() {
    NotePlace();
    RestorePlace();
    m_columnsFollowSize = true;
    FitColumns();
}

void RunManagerScreen::RestorePlace() {
    if (m_services.settingsKey.IsEmpty()) return;
    velmora::app::RememberedWindow remembered;
    if (!velmora::app::ReadRememberedWindow(*m_services.registry, m_services.place.roots.user,
                                            m_services.settingsKey, kRememberedValue, &remembered))
        return;
    const int dpi = m_window.Dpi();
    if (remembered.columnsAt96.size() == static_cast<std::size_t>(kRunColumnCount)) {
        for (int column = 0; column < kRunColumnCount; ++column) {
            m_list.SetColumnWidth(column, velmora::app::RunManagerScaled(
                                              remembered.columnsAt96[static_cast<std::size_t>(column)], dpi));
        }
    }
    const velmora::skin::SkinRect centred = velmora::app::WindowRectOf(m_window.m_hWnd);
    const velmora::skin::SkinRect placed =
        velmora::app::PlaceRemembered(remembered.place, dpi, velmora::app::AllWorkAreas(), centred);
    m_window.SetWindowPos(nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE);
    m_normalPlace = placed;
    if (remembered.place.maximised) m_window.ShowWindow(SW_MAXIMIZE);
}

void RunManagerScreen::RememberPlace() {
    if (m_services.settingsKey.IsEmpty() || m_normalPlace.IsEmpty()) return;
    const int dpi = m_window.Dpi();
    velmora::app::RememberedWindow remembered;
    const velmora::skin::SkinSize size =
        velmora::app::SizeAt96({m_normalPlace.Width(), m_normalPlace.Height()}, dpi);
    remembered.place.window = velmora::skin::RectAt(m_normalPlace.left, m_normalPlace.top, size.cx, size.cy);
    remembered.place.maximised = m_window.IsZoomed() != FALSE;
    for (int column = 0; column < kRunColumnCount; ++column) {
        remembered.columnsAt96.push_back(
            std::max(1, velmora::app::RunManagerRescaled(m_list.GetColumnWidth(column), dpi, 96)));
    }
    velmora::app::WriteRememberedWindow(*m_services.registry, m_services.place.roots.user,
                                        m_services.settingsKey, kRememberedValue, remembered);
}

void RunManagerScreen::NotePlace() {
    if (m_window.IsZoomed() || m_window.IsIconic()) return;
    m_normalPlace = velmora::app::WindowRectOf(m_window.m_hWnd);
}

void RunManagerScreen::FitColumns(int heldColumn) {
    if (m_list.m_hWnd == nullptr || (heldColumn < 0 && !m_columnsFollowSize)) return;
    RECT client{};
    m_list.GetClientRect(&client);
    std::vector<int> widths;
    std::vector<bool> shares;
    for (int column = 0; column < kRunColumnCount; ++column) {
        widths.push_back(m_list.GetColumnWidth(column));
        shares.push_back(IsSharingColumn(column) && column != heldColumn);
    }
    const std::vector<int> shared = velmora::app::ShareColumns(
        widths, shares, client.right, velmora::skin::ScaleForDpi(kLeastSharedWidth, m_window.Dpi()));
    for (int column = 0; column < kRunColumnCount; ++column) {
        if (shared[static_cast<std::size_t>(column)] != widths[static_cast<std::size_t>(column)])
            m_list.SetColumnWidth(column, shared[static_cast<std::size_t>(column)]);
    }
}

bool RunManagerScreen::OnHeaderNotify(const NMHDR* pHeader) {
    const auto* change = reinterpret_cast<const NMHEADERW*>(pHeader);
    switch (pHeader->code) {
        case HDN_ENDTRACKW:
        case HDN_ENDTRACKA:
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            // The list sets the width after telling; the share follows it.
            m_window.PostMessage(velmora::app::kRefitColumnsMessage, static_cast<WPARAM>(change->iItem));
            return true;
        default:
            return false;
    }
}

bool RunManagerScreen::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    m_statusTip.Relay(message, wParam, lParam);
    switch (message) {
        case velmora::app::kRefitColumnsMessage:
            FitColumns(static_cast<int>(wParam));
            return true;
        case WM_WINDOWPOSCHANGED:
            NotePlace();
            return false;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            const HWND hHeader = reinterpret_cast<HWND>(m_list.SendMessage(LVM_GETHEADER));
            return header != nullptr && hHeader != nullptr && header->hwndFrom == hHeader &&
                   OnHeaderNotify(header);
        }
        default:
            return false;
    }
}

void RunManagerScreen::SetStatus(const CStringW& text) {
    m_statusText = text;
    ShowStatusFitted();
}

void RunManagerScreen::ShowStatusFitted() {
    if (m_status.m_hWnd == nullptr) return;
    RECT client{};
    m_status.GetClientRect(&client);
    const int room =
        velmora::skin::StaticTextRect(velmora::skin::ToSkinRect(client), false, 0, m_status.Dpi()).Width();
    CClientDC dc(m_status.m_hWnd);
    const velmora::SelectedObject font(dc, m_status.m_pFont);
    const auto widthOf = [&dc](const CStringW& text) {
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, velmora::WinText(text), static_cast<int>(text.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    m_status.SetWindowText(m_statusText);
    const bool whole = widthOf(m_statusText) <= room;
    m_status.m_shownText = whole ? CStringW() : velmora::app::FitMessageWidth(m_statusText, room, widthOf);
    m_status.Invalidate(TRUE);
    // The whole message when the line shows less of it.
    m_statusTip.SetText(whole ? CStringW() : m_statusText);
    RECT area{};
    m_status.GetWindowRect(&area);
    ::MapWindowPoints(nullptr, m_window.m_hWnd, reinterpret_cast<POINT*>(&area), 2);
    m_statusTip.SetArea(area);
}
