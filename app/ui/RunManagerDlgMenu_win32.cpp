// The manager's context menu and the keys of its list: every action has an
// item there and a key.
#include "app/ui/RunManagerDlg_win32.h"
#include "res/resource.h"

namespace {

struct MenuItemSpec {
    UINT id;  // 0: a separator
    const RunActionText* action;
    // What the item needs: entries selected, exactly one, or administrator
    // rights (the item is left out without them) and entries selected.
    enum Needs { kNothing, kSome, kOne, kElevatedSome } needs;
};

constexpr MenuItemSpec kMenuItems[] = {
    {IDC_BTN_RUN, &kRunAction, MenuItemSpec::kSome},
    {IDC_BTN_OPEN_LOCATION, &kOpenLocationAction, MenuItemSpec::kSome},
    {0, nullptr, MenuItemSpec::kNothing},
    {IDM_RUN_RENAME, &kRenameAction, MenuItemSpec::kOne},
    {IDM_RUN_CHANGE_TARGET, &kChangeTargetAction, MenuItemSpec::kOne},
    {IDM_RUN_EDIT_PATH, &kEditPathAction, MenuItemSpec::kOne},
    {0, nullptr, MenuItemSpec::kElevatedSome},
    {IDM_RUN_COPY_TO_USER, &kCopyToUserAction, MenuItemSpec::kElevatedSome},
    {IDM_RUN_COPY_TO_MACHINE, &kCopyToMachineAction, MenuItemSpec::kElevatedSome},
    {0, nullptr, MenuItemSpec::kNothing},
    {IDC_BTN_DELETE, &kDeleteAction, MenuItemSpec::kSome},
    {0, nullptr, MenuItemSpec::kNothing},
    {IDM_RUN_EXPORT, &kExportAction, MenuItemSpec::kNothing},
    {IDM_RUN_IMPORT, &kImportAction, MenuItemSpec::kNothing},
    {IDC_BTN_REFRESH, &kRefreshAction, MenuItemSpec::kNothing},
};

bool ControlHeld() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

void CRunManagerDlg::FillContextMenu(CMenu& menu) {
    const std::vector<int> selected = SelectedEntries();
    const bool elevated = m_services.scope == RunScope::kLocalMachine;
    for (const MenuItemSpec& spec : kMenuItems) {
        if (spec.needs == MenuItemSpec::kElevatedSome && !elevated) continue;
        if (spec.id == 0) {
            menu.AppendMenu(MF_SEPARATOR);
            continue;
        }
        bool enabled = true;
        if (spec.needs == MenuItemSpec::kSome) enabled = !selected.empty();
        if (spec.needs == MenuItemSpec::kOne) enabled = selected.size() == 1;
        // A copy needs an entry of the other scope among those selected.
        if (spec.needs == MenuItemSpec::kElevatedSome) {
            const RunScope from =
                spec.id == IDM_RUN_COPY_TO_USER ? RunScope::kLocalMachine : RunScope::kCurrentUser;
            enabled = false;
            for (int index : selected)
                enabled = enabled || m_entries[static_cast<std::size_t>(index)].scope == from;
        }
        menu.AppendMenu(MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), spec.id,
                        velmora::WideFrom936(spec.action->menuItem));
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
    if (ControlHeld()) {
        switch (vKey) {
            case 'A':
                m_listCommands.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
                return true;
            case 'F':
                m_editFilter.SetFocus();
                m_editFilter.SendMessage(EM_SETSEL, 0, -1);
                return true;
            case 'P':
                return OnAction(IDM_RUN_EDIT_PATH);
            case 'U':
                return OnAction(IDM_RUN_COPY_TO_USER);
            case 'M':
                return OnAction(IDM_RUN_COPY_TO_MACHINE);
            case 'E':
                return OnAction(IDM_RUN_EXPORT);
            case 'I':
                return OnAction(IDM_RUN_IMPORT);
            default:
                return false;
        }
    }
    switch (vKey) {
        case VK_DELETE:
            return OnAction(IDC_BTN_DELETE);
        case VK_F2:
            return OnAction(IDM_RUN_RENAME);
        case VK_F4:
            return OnAction(IDM_RUN_CHANGE_TARGET);
        case VK_F5:
            return OnAction(IDC_BTN_REFRESH);
        default:
            return false;
    }
}

bool CRunManagerDlg::OnAction(UINT nID) {
    switch (nID) {
        case IDC_BTN_RUN:
            OnRun();
            break;
        case IDC_BTN_OPEN_LOCATION:
            OnOpenLocation();
            break;
        case IDC_BTN_DELETE:
            OnDelete();
            break;
        case IDC_BTN_REFRESH:
            OnRefresh();
            break;
        case IDM_RUN_RENAME:
            OnRename();
            break;
        case IDM_RUN_CHANGE_TARGET:
            OnChangeTarget();
            break;
        case IDM_RUN_EDIT_PATH:
            OnEditPath();
            break;
        case IDM_RUN_COPY_TO_USER:
            OnCopyToScope(RunScope::kCurrentUser);
            break;
        case IDM_RUN_COPY_TO_MACHINE:
            OnCopyToScope(RunScope::kLocalMachine);
            break;
        case IDM_RUN_EXPORT:
            OnExport();
            break;
        case IDM_RUN_IMPORT:
            OnImport();
            break;
        default:
            return false;
    }
    return true;
}
