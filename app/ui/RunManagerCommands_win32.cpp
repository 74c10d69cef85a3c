// The manager's command table, and the context menu, the keys and the
// dispatch built from it.
#include "app/ui/RunManagerCommands_win32.h"

#include "app/text/ExplorerText.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "res/resource.h"

namespace {

using Needs = RunManagerCommand::Needs;
using Dlg = CRunManagerDlg;

constexpr bool kButton = true;
constexpr bool kSeparator = true;

bool ControlHeld() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

bool NeedsRights(Needs needs) { return needs == Needs::kMachineSelected || needs == Needs::kUserSelected; }

}  // namespace

const RunManagerCommand* RunManagerCommands(std::size_t* pCount) noexcept {
    // Every row has a button, a menu item or a key; the buttons' ids are their
    // control ids.
    static const RunManagerCommand commands[] = {
        {IDC_BTN_RUN, &kRunAction, 0, false, Needs::kSome, kButton, false, &Dlg::OnRun},
        {IDC_BTN_OPEN_LOCATION, &kOpenLocationAction, 0, false, Needs::kSome, kButton, false,
         &Dlg::OnOpenLocation},
        {IDM_RUN_RENAME, &kRenameAction, VK_F2, false, Needs::kOne, false, kSeparator, &Dlg::OnRename},
        {IDM_RUN_CHANGE_TARGET, &kChangeTargetAction, VK_F4, false, Needs::kOne, kButton, false,
         &Dlg::OnChangeTarget},
        {IDM_RUN_EDIT_PATH, &kEditPathAction, 'P', true, Needs::kOne, false, false, &Dlg::OnEditPath},
        // Alt+Enter: PreTranslateMessage, before the list sees it.
        {IDM_RUN_PROPERTIES, &kOptionsAction, 0, false, Needs::kOne, false, false, &Dlg::OnOptions},
        {IDM_RUN_COPY_TO_USER, &kCopyToUserAction, 'U', true, Needs::kMachineSelected, false, kSeparator,
         &Dlg::OnCopyToUser},
        {IDM_RUN_COPY_TO_MACHINE, &kCopyToMachineAction, 'M', true, Needs::kUserSelected, false, false,
         &Dlg::OnCopyToMachine},
        {IDM_RUN_TERMINAL, &kTerminalAction, 'T', true, Needs::kSome, false, kSeparator,
         &Dlg::OnToggleTerminal, &Dlg::SelectionWorksInTerminals},
        {IDC_BTN_DELETE, &kDeleteAction, VK_DELETE, false, Needs::kSome, kButton, kSeparator, &Dlg::OnDelete},
        {IDM_RUN_EXPORT, &kExportAction, 'E', true, Needs::kNothing, false, kSeparator, &Dlg::OnExport},
        {IDM_RUN_IMPORT, &kImportAction, 'I', true, Needs::kNothing, false, false, &Dlg::OnImport},
        {IDM_EXPLORER_ENTRIES, &kExplorerSwitchAction, 0, false, Needs::kNothing, false, kSeparator,
         &Dlg::OnSwitchExplorerEntries, &Dlg::ExplorerEntriesOn},
        {IDC_BTN_REFRESH, &kRefreshAction, VK_F5, false, Needs::kNothing, kButton, false, &Dlg::OnRefresh},
        {0, nullptr, 'A', true, Needs::kNothing, false, false, &Dlg::OnSelectAll},
        {0, nullptr, 'F', true, Needs::kNothing, false, false, &Dlg::OnGoToFilter},
    };
    *pCount = sizeof(commands) / sizeof(commands[0]);
    return commands;
}

namespace {

// The table as a range.
struct Commands {
    const RunManagerCommand* first;
    std::size_t count;
    const RunManagerCommand* begin() const { return first; }
    const RunManagerCommand* end() const { return first + count; }
};

Commands AllCommands() {
    Commands all{nullptr, 0};
    all.first = RunManagerCommands(&all.count);
    return all;
}

}  // namespace

bool CRunManagerDlg::IsCommandEnabled(const RunManagerCommand& command) const {
    const std::vector<int> selected = SelectedRows();
    switch (command.needs) {
        case Needs::kNothing:
            return true;
        case Needs::kSome:
            return !selected.empty();
        case Needs::kOne:
            return selected.size() == 1;
        case Needs::kMachineSelected:
        case Needs::kUserSelected: {
            // A copy needs the rights and an entry of the other scope.
            if (!m_services.rights.elevated) return false;
            const RunScope from =
                command.needs == Needs::kMachineSelected ? RunScope::kLocalMachine : RunScope::kCurrentUser;
            for (int row : selected)
                if (m_model.EntryOfRow(row)->scope == from) return true;
            return false;
        }
    }
    return false;
}

void CRunManagerDlg::FillContextMenu(CMenu& menu) {
    // The checks and greying follow the entries' values.
    FinishListing();
    const bool elevated = m_services.rights.elevated;
    for (const RunManagerCommand& command : AllCommands()) {
        // The copies are left out without administrator rights.
        if (command.text == nullptr || (NeedsRights(command.needs) && !elevated)) continue;
        if (command.separatorBefore) menu.AppendMenu(MF_SEPARATOR);
        const bool checked = command.checked != nullptr && (this->*command.checked)();
        menu.AppendMenu(MF_STRING | (IsCommandEnabled(command) ? MF_ENABLED : MF_GRAYED) |
                            (checked ? MF_CHECKED : MF_UNCHECKED),
                        command.id, velmora::WideFrom936(command.text->menuItem));
    }
}

void CRunManagerDlg::OnContextMenu(int x, int y) {
    CMenu menu;
    if (!menu.CreatePopupMenu()) return;
    FillContextMenu(menu);
    if (x == -1 && y == -1) {
        // From the keyboard: below the focused row, or at the list's corner.
        RECT place{};
        ::GetClientRect(m_listCommands.m_hWnd, &place);
        const int row = m_listCommands.GetNextItem(-1, LVNI_FOCUSED);
        if (row >= 0) {
            RECT item{};
            item.left = LVIR_LABEL;
            if (m_listCommands.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(row),
                                           reinterpret_cast<LPARAM>(&item)))
                place = item;
        }
        POINT point{place.left, place.bottom};
        ::ClientToScreen(m_listCommands.m_hWnd, &point);
        x = point.x;
        y = point.y;
    }
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, m_hWnd);
}

bool CRunManagerDlg::OnListKey(WORD vKey) {
    const bool control = ControlHeld();
    for (const RunManagerCommand& command : AllCommands()) {
        if (command.key != vKey || command.withControl != control) continue;
        (this->*command.handler)();
        return true;
    }
    return false;
}

bool CRunManagerDlg::RunCommand(UINT nID) {
    for (const RunManagerCommand& command : AllCommands()) {
        if (command.id == 0 || command.id != nID) continue;
        FinishListing();
        (this->*command.handler)();
        return true;
    }
    return false;
}

BOOL CRunManagerDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg != nullptr && pMsg->message == WM_SYSKEYDOWN && pMsg->wParam == VK_RETURN &&
        pMsg->hwnd == m_listCommands.m_hWnd) {
        FinishListing();
        OnOptions();
        return TRUE;
    }
    return CSkinnedToolDlg::PreTranslateMessage(pMsg);
}
