// The manager's actions that change one entry (rename, change target, Path,
// copy to the other scope), the program dropped on it, and the questions
// they ask through the system's file dialog.
#include "app/platform/DroppedFile_win32.h"
#include "app/platform/FileDialogs_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "app/ui/RunManagerChoices_win32.h"
#include "app/ui/RunManagerDlg_win32.h"
#include "base/shell_on_demand_win32.h"
#include "base/win32_handles.h"

void CRunManagerDlg::OnRename() {
    const int row = SingleSelectedRow();
    if (row < 0) return;
    m_listCommands.SetFocus();
    m_listCommands.EnsureVisible(row, FALSE);
    m_listCommands.SendMessage(LVM_EDITLABELW, static_cast<WPARAM>(row), 0);
}

void CRunManagerDlg::OnBeginRename() {
    // However the edit started (F2, the menu, a click on a selected row's
    // name), it takes no more than the main dialog's name field.
    const auto hEdit = reinterpret_cast<HWND>(m_listCommands.SendMessage(LVM_GETEDITCONTROL));
    if (hEdit != nullptr) ::SendMessageW(hEdit, EM_LIMITTEXT, kCommandNameLimit, 0);
}

void CRunManagerDlg::OnEndRename(const NMLVDISPINFOW* pInfo) {
    // No text: the edit was cancelled (Escape, or the focus went elsewhere).
    if (pInfo->item.pszText == nullptr) return;
    const RunEntry* renamed = m_model.EntryOfRow(pInfo->item.iItem);
    if (renamed == nullptr) return;
    const RunEntry entry = *renamed;
    const CStringW strNewName = TrimCommandName(velmora::FromWin(pInfo->item.pszText));
    const ChangeResult result = Store().Rename(entry, strNewName);
    if (result == ChangeResult::kDone) {
        RefreshSelecting({{entry.scope, KeyPathOfCommand(strNewName)}});
    } else if (result == ChangeResult::kNotFound) {
        Refresh();
    }
    SetStatus(EditStatusText(kRenameAction, entry.command, result, strNewName));
}

void CRunManagerDlg::OnChangeTarget() {
    const int row = SingleSelectedRow();
    if (row < 0) return;
    const RunEntry chosen = *m_model.EntryOfRow(row);
    const CStringW strTarget = m_services.choices->AskProgramFile(*this, TargetFileOf(chosen.target));
    if (strTarget.IsEmpty()) return;
    ChangeTarget(chosen, strTarget);
}

void CRunManagerDlg::OnDropFiles(HDROP hDrop) {
    // Handed back to the shell however the handler leaves.
    const velmora::OwnedDrop drop(hDrop);
    const CStringW strPath = ReadFirstDroppedPath(hDrop);
    if (strPath.IsEmpty()) return;
    if (!HasExeExtension(strPath)) return SetStatus(velmora::WideFrom936(kDropProgramText));
    // Dropped on a row: that entry; elsewhere: the one selected.
    POINT point{};
    velmora::shell::DragQueryPoint(hDrop, &point);
    ::MapWindowPoints(m_hWnd, m_listCommands.m_hWnd, &point, 1);
    LVHITTESTINFO hit{};
    hit.pt = point;
    const int row =
        static_cast<int>(m_listCommands.SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (m_model.EntryOfRow(row) != nullptr && (hit.flags & LVHT_ONITEM) != 0) {
        m_listCommands.SetItemState(-1, 0, LVIS_SELECTED);
        m_listCommands.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    const int selected = SingleSelectedRow();
    if (selected < 0) return;
    ChangeTarget(RunEntry(*m_model.EntryOfRow(selected)), strPath);
}

void CRunManagerDlg::ChangeTarget(const RunEntry& entry, const CStringW& strTarget) {
    const ChangeResult result = Store().ChangeTarget(entry, strTarget);
    if (result == ChangeResult::kDone || result == ChangeResult::kNotFound)
        RefreshSelecting({{entry.scope, entry.keyPath}});
    SetStatus(EditStatusText(kChangeTargetAction, entry.command, result, strTarget));
}

void CRunManagerDlg::OnEditPath() {
    const int row = SingleSelectedRow();
    if (row < 0) return;
    const RunEntry entry = *m_model.EntryOfRow(row);
    RunCommandStore store = Store();
    std::vector<CStringW> folders = store.PathFolders(entry);
    if (!m_services.choices->AskPathFolders(*this, entry, folders)) return;
    const ChangeResult result = store.SetPathFolders(entry, folders);
    if (result == ChangeResult::kDone || result == ChangeResult::kNotFound)
        RefreshSelecting({{entry.scope, entry.keyPath}});
    SetStatus(EditStatusText(kEditPathAction, entry.command, result, CStringW()));
}

void CRunManagerDlg::OnOptions() {
    const int row = SingleSelectedRow();
    if (row < 0) return;
    RunCommandStore store = Store();
    // Read afresh: the options as they are now.
    const RunEntry listed = *m_model.EntryOfRow(row);
    const std::optional<RunEntry> found = store.Find(listed.scope, listed.command);
    const RunEntry entry = found ? *found : listed;
    RunCommandOptions options = entry.options;
    if (!m_services.choices->AskOptions(*this, entry, options)) return;
    const RunCommandOptionsChange change = ChangeBetween(entry.options, options);
    if (change.Empty()) return;
    const ChangeResult result = store.SetOptions(entry, change);
    if (result == ChangeResult::kDone || result == ChangeResult::kNotFound)
        RefreshSelecting({{entry.scope, entry.keyPath}});
    SetStatus(OptionsOutcomeText(entry.command, entry.target, result,
                                 store.OptionsLauncherFile(entry.scope, entry.command)));
}

void CRunManagerDlg::OnCopyToScope(RunScope to) {
    RunCommandStore store = Store();
    // Only with administrator rights: writing the machine's entries needs them.
    if (!store.Elevated()) return;
    std::vector<RunEntry> entries = SelectedEntries();
    // Those of the other scope; an entry is in its own already.
    std::erase_if(entries, [to](const RunEntry& entry) { return entry.scope == to; });
    if (entries.empty()) return SetStatus(velmora::WideFrom936(kNothingSelectedText));
    const RunActionText& action = to == RunScope::kCurrentUser ? kCopyToUserAction : kCopyToMachineAction;
    if (!ConfirmMany(action.name, entries.size())) return;
    const RunBatchResult result = store.CopyToScope(entries, to);
    EntryKeys copied;
    for (const RunEntry& entry : result.done) copied.emplace(to, entry.keyPath);
    RefreshSelecting(copied);
    SetStatus(BatchStatusText(action.name, OutcomeOf(result)));
}
