// CRunManagerDlg: the run-command manager, opened from the main dialog's
// window menu. A skinned dialog like the main one (the same frame and caption
// buttons, but resizable) that lists every entry below App Paths of
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with its icon, target, scope and
// marks, and starts, shows, deletes and re-reads the selected ones. A field
// above the list filters it by command, target or Path value as the user
// types.
//
// A thin view over three objects: the list model (RunListModel.h: the
// entries and the rows shown, without a window), the rows' icons
// (RowIcons_win32.h) and its place on the screen with the status line
// (RunManagerScreen_win32.h). The list is an owner-data list view that asks
// the model for the rows it draws, so that thousands of entries cost nothing
// to fill. Its files: RunManagerDlg_win32.cpp (creation, messages, the
// list's notifications), RunManagerDlgListing_win32.cpp (listing, values,
// filter, sort, selection), RunManagerDlgActions_win32.cpp (run, open,
// delete, refresh), RunManagerDlgEdit_win32.cpp, RunManagerDlgBackup_win32.cpp,
// RunManagerDlgTerminal_win32.cpp, and the command table
// (RunManagerCommands_win32.cpp).
#pragma once

#include <memory>
#include <vector>

#include "app/platform/WindowPrompts_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntries.h"
#include "app/runcmd/RunEntrySort.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"
#include "app/ui/AppServices_win32.h"
#include "app/ui/RowIcons_win32.h"
#include "app/ui/RunListModel.h"
#include "app/ui/RunManagerCommands_win32.h"
#include "app/ui/RunManagerLayout.h"
#include "app/ui/RunManagerScreen_win32.h"
#include "app/ui/SkinnedToolDlg_win32.h"
#include "skin/QebTransButton.h"
#include "wnd/Controls.h"
#include "wnd/Gdi.h"
#include "wnd/ListCtrl.h"
#include "wnd/Menu.h"

class CRunManagerDlg : public CSkinnedToolDlg {
    // The command table names the handlers.
    friend const RunManagerCommand* RunManagerCommands(std::size_t* pCount) noexcept;

public:
    // `services` stays the creator's: it must outlive the dialog. The
    // entries listed are those of its place.
    explicit CRunManagerDlg(const AppServices& services, CWnd* pParent = nullptr);

    // The entries the rows show, in row order, the listing finished first.
    std::vector<RunEntry> ShownEntries() {
        FinishListing();
        return m_model.ShownEntries();
    }
    // Whether the listing is not finished: values or marks still to come.
    bool ValuesBeingRead() const noexcept { return m_model.ValuesWait(); }
    // How many files' icons are still being read for the rows.
    std::size_t IconsBeingRead() const { return m_rowIcons.Pending(); }
    // The context menu's items, greyed where the selection does not fit.
    void FillContextMenu(CMenu& menu);

protected:
    using EntryKeys = velmora::app::RunEntryKeys;

    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter has no action of its own in the manager: it does not close it.
    void OnOK() override {}
    // Alt+Enter in the list opens 属性… of the selected entry.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Escape in a filter field that holds text clears it; elsewhere it
    // closes the manager.
    void OnCancel() override;

    void LayOutControls() override;
    std::vector<CQebTransButton*> SkinControls() override;
    // At another DPI: the skin, the fonts, the buttons' looks, the columns
    // (as wide as the user left them, rescaled) and the row icons.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;

    // The list's notifications: each row's texts and icon from the model,
    // type-ahead, a heading's click, keys, renaming in place, a row's tip,
    // and the row being renamed keeping its selected look.
    LRESULT OnListNotify(NMHDR* pHeader);
    void OnGetDispInfo(NMLVDISPINFOW* pInfo);
    void OnGetInfoTip(NMLVGETINFOTIPW* pTip);
    LRESULT OnListCustomDraw(NMLVCUSTOMDRAW* pDraw);
    // Icons were read: the rows on screen that show them are drawn again.
    void OnIconsRead();

    // WM_COMMAND: the filter's changes and the commands of the table
    // (RunManagerCommands_win32.h), from a button or the context menu; then
    // the keyboard focus goes back to the list. The rest goes to the base.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Runs the command of the table with that id; false when none has it.
    bool RunCommand(UINT nID);
    bool IsCommandEnabled(const RunManagerCommand& command) const;

    // The commands (the handlers of the table), on the selected entries.
    void OnRun();
    void OnOpenLocation();
    void OnDelete();
    void OnRefresh();
    void OnSelectAll();
    void OnGoToFilter();
    void OnCopyToUser() { OnCopyToScope(RunScope::kCurrentUser); }
    void OnCopyToMachine() { OnCopyToScope(RunScope::kLocalMachine); }
    // Makes the selected commands work in terminals, or, when all of them
    // do, no longer (RunManagerDlgTerminal_win32.cpp).
    void OnToggleTerminal();
    bool SelectionWorksInTerminals() const;
    // The Explorer entries on or off, as the main window's menu item.
    void OnSwitchExplorerEntries();
    bool ExplorerEntriesOn() const;

    // The context menu (right click, the menu key, Shift+F10) and the keys
    // of the list, both from the table. `x`, `y`: the screen point, or -1
    // for the keyboard (the menu opens at the focused row).
    void OnContextMenu(int x, int y);
    bool OnListKey(WORD vKey);

    // The actions on one entry. F2 starts editing the name in its row; the
    // edit's end renames (the in-place edit's result is never stored by the
    // list: the row shows the registry read again).
    void OnRename();
    void OnBeginRename();
    void OnEndRename(const NMLVDISPINFOW* pInfo);
    void OnChangeTarget();
    void OnDropFiles(HDROP hDrop);
    void ChangeTarget(const RunEntry& entry, const CStringW& strTarget);
    void OnEditPath();
    // 属性… (Alt+Enter): the options of the one selected entry.
    void OnOptions();
    void OnCopyToScope(RunScope to);
    void OnExport();
    void OnImport();
    // The store every action goes through, asking over this window.
    RunCommandStore Store() { return m_services.Store(m_prompts); }

    // The listing (RunManagerDlgListing_win32.cpp). Refresh reads both
    // scopes again and shows the entries the filter lets through, sorted;
    // the selection is dropped. The user's refresh (OnRefresh) lists again
    // only when the watch saw a change.
    //
    // Shown in the command order or by scope with nothing filtered (as the
    // window opens), the rows are listed by their keys only: a row's values
    // are read when it is first drawn (ReadRowValues), the others on
    // kValueFillTimer while nothing else waits, and before any message that
    // acts on the entries the listing is finished (FinishListing: every
    // value read, the marks set).
    void Refresh();
    // Refresh, then the entries of `keys` selected.
    void RefreshSelecting(const EntryKeys& keys);
    void ReadRowValues(int row);
    void OnValueFillTimer();
    void FinishListing();
    static bool NeedsEveryValue(UINT message, LPARAM lParam);
    // The filter's text changed, or a heading was clicked: the list shows
    // the model's rows; the selected entries still shown stay selected.
    void OnFilterChanged();
    void OnColumnClick(int nColumn);
    // The list takes the model's rows, none of them selected.
    void ShowRows();
    // The selected rows, in list order; their entries (the one collection of
    // the selection every action uses) and keys; and the rows of `keys`
    // selected again (right after ShowRows).
    std::vector<int> SelectedRows() const;
    std::vector<RunEntry> SelectedEntries() const { return m_model.EntriesOfRows(SelectedRows()); }
    EntryKeys SelectedKeys() const { return m_model.KeysOfRows(SelectedRows()); }
    void SelectRows(const EntryKeys& keys);
    // The one selected row, or -1 (and the status line says why).
    int SingleSelectedRow();
    // The status line after listing or filtering.
    void ShowListingStatus();
    void SetStatus(const CStringW& strText) { m_screen.SetStatus(strText); }

    // The status line's account of an action on several entries.
    static BatchOutcome OutcomeOf(const RunBatchResult& result);
    // Asks before an action on many entries; true to go on.
    bool ConfirmMany(const velmora::Text& action, std::size_t count);

    const AppServices& m_services;
    WindowPrompts m_prompts{*this};
    CListCtrl m_listCommands;
    CQebTransButton m_lblFilter;
    CEdit m_editFilter;
    // The table's commands that have a button, in its order.
    CQebTransButton m_buttons[velmora::app::kRunManagerButtonCount];
    CQebTransButton m_lblStatus;
    velmora::app::RunListModel m_model;
    RowIcons m_rowIcons;
    RunManagerScreen m_screen{*this, m_listCommands, m_lblStatus, m_services};
    // Whether the keys listed may have changed since the last listing; none:
    // every refresh lists again.
    std::unique_ptr<ListingChangeWatch> m_listingWatch;
    // The status line ShowListingStatus set last: the listing's finish
    // shows it again with the marks, unless an action's outcome replaced it.
    CStringW m_listingStatus;
    // Said after the count while a machine launcher folder is not safe.
    CStringW m_folderWarning;
};
