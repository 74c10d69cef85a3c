// CRunManagerDlg: the run-command manager, opened from the main dialog's
// window menu. A skinned dialog like the main one (the same frame and caption
// buttons, but resizable) that lists every entry below App Paths of
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with its icon, target, scope and
// marks, and starts, shows, deletes and re-reads the selected ones. A field
// above the list filters it by command, target or Path value as the user
// types.
//
// The list is an owner-data list view: the dialog keeps the entries in list
// order and answers for the rows the list shows, so that thousands of
// entries cost nothing to fill. A row shows a stand-in icon at once; the
// icons of the rows drawn are read on a worker thread (once per target file)
// and each row is drawn again when its icon is in.
#pragma once

#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "app/ui/FileIconLoader_win32.h"
#include "app/platform/WindowPrompts_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/runcmd/RunCommandStore.h"
#include "app/runcmd/RunEntries.h"
#include "app/runcmd/RunEntryFilter.h"
#include "app/runcmd/RunEntrySort.h"
#include "app/text/OutcomeText.h"
#include "app/text/QuestionText.h"
#include "app/text/ViewText.h"
#include "app/ui/AppServices_win32.h"
#include "app/ui/RunManagerCommands_win32.h"
#include "app/ui/RunManagerLayout.h"
#include "app/ui/RowIconBook.h"
#include "app/ui/RowValueFill.h"
#include "app/ui/SkinnedToolDlg_win32.h"
#include "app/ui/TextTip_win32.h"
#include "skin/QebTransButton.h"
#include "wnd/Controls.h"
#include "wnd/Gdi.h"
#include "wnd/ImageList.h"
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
    const std::vector<RunEntry>& ShownEntries() {
        FinishListing();
        return m_entries;
    }
    // Whether the listing is not finished: values or marks still to come.
    bool ValuesBeingRead() const noexcept { return m_valueFill.Open(); }
    // How many files' icons are still being read for the rows.
    std::size_t IconsBeingRead() const { return m_iconBook.Pending(); }
    // The context menu's items, greyed where the selection does not fit.
    void FillContextMenu(CMenu& menu);

protected:
    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter has no action of its own in the manager: it does not close it.
    void OnOK() override {}
    // Escape in a filter field that holds text clears it; elsewhere it
    // closes the manager.
    void OnCancel() override;

    void LayOutControls() override;
    std::vector<CQebTransButton*> SkinControls() override;
    // At another DPI: the skin, the fonts, the buttons' looks, the columns
    // (as wide as the user left them, rescaled) and the row icons.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;
    LRESULT OnListNotify(NMHDR* pHeader);
    void OnGetDispInfo(NMLVDISPINFOW* pInfo);
    // Type-ahead: the row of the next command that starts with the typed text.
    int OnFindItem(const CStringW& strTyped, int nStart);
    void OnColumnClick(int nColumn);

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
    void OnCopyToScope(RunScope to);
    void OnExport();
    void OnImport();
    // The one selected entry, or null (and the status line says why).
    const RunEntry* SingleSelectedEntry();
    // The store every action goes through, asking over this window.
    RunCommandStore Store() { return m_services.Store(m_prompts); }
    // Refresh, then the entries of `keys` selected.
    void RefreshSelecting(const std::set<std::pair<RunScope, CStringW>>& keys);

    // Reads both scopes again, marks and sorts the entries and shows those
    // the filter lets through. The selection is dropped. The user's refresh
    // (OnRefresh) lists again only when the watch saw a change.
    //
    // Shown in the command order or by scope with nothing filtered (as the
    // window opens), the rows are listed by their keys only: a row's values
    // are read when it is first drawn (ReadRowValues), the others on
    // kValueFillTimer while nothing else waits, and before any message that
    // acts on the entries the listing is finished (FinishListing: every
    // value read, the marks set). Until then a row is the entry of the same
    // index in m_allEntries.
    void Refresh();
    void ReadRowValues(int row);
    void OnValueFillTimer();
    void FinishListing();
    static bool NeedsEveryValue(UINT message, LPARAM lParam);
    // Not the frame's resize timer.
    static constexpr UINT_PTR kValueFillTimer = RESIZE_TIMER_ID + 1;
    // The filter's text changed: the list shows the matching entries; the
    // selected ones that are still shown stay selected.
    void OnFilterChanged();
    // Rebuilds m_entries from m_allEntries and the filter's text.
    void ShowFilteredEntries();
    // The selected entries by scope and key path, and their selection
    // again in the rows that show them now (right after
    // ShowFilteredEntries, which leaves no row selected).
    using EntryKey = std::pair<RunScope, CStringW>;
    std::set<EntryKey> SelectedKeys() const;
    void SelectRows(const std::set<EntryKey>& keys);
    // The status line after listing or filtering.
    void ShowListingStatus();
    // The selected entries' indexes in m_entries, in list order.
    std::vector<int> SelectedEntries() const;
    // The status line's account of an action on several entries.
    static BatchOutcome OutcomeOf(const RunBatchResult& result);
    // Asks before an action on many entries; true to go on.
    bool ConfirmMany(const char* action, std::size_t count);
    // The image of an entry's row in m_imageList now: the stand-in until
    // its icon is read. The first ask for a file has it read, once the
    // paint that asked is done (AskIcons).
    int ImageOf(const RunEntry& entry);
    // The files asked for since the last time go to the worker: on
    // kAskIconsMessage, posted by the first ask after the last time.
    void AskIcons();
    static constexpr UINT kAskIconsMessage = WM_APP + 3;
    // Icons were read: those still awaited go into the image list, and the
    // rows on screen that show them are drawn again.
    void OnIconsRead();
    // A new image list at `side` pixels, the stand-in its first image; the
    // icons are read again for it.
    void MakeImageList(int side);
    void SetStatus(const CStringW& strText);

    // On screen (RunManagerDlgScreen_win32.cpp). The place, size, maximised
    // state and column widths the user left, read when the window opens and
    // written when it goes (nothing without a settings key).
    void RestorePlace();
    void RememberPlace();
    // The window's place while it is neither maximised nor minimised.
    void NotePlace();
    // 目标 and 附加路径 share the width the other columns leave, but for
    // `heldColumn`, which keeps the width the user just gave it. Without a
    // held column only once the window follows its size (m_columnsFollowSize).
    void FitColumns(int heldColumn = -1);
    bool OnHeaderNotify(const NMHDR* pHeader);
    // The messages above; true when the message is taken.
    bool OnScreenMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The status line shows m_statusText with its path shortened to fit, and
    // the whole text as a tip when it shows less.
    void ShowStatusFitted();
    void OnGetInfoTip(NMLVGETINFOTIPW* pTip);
    // The row being renamed keeps its selected look.
    LRESULT OnListCustomDraw(NMLVCUSTOMDRAW* pDraw);

    const AppServices& m_services;
    WindowPrompts m_prompts{*this};
    CListCtrl m_listCommands;
    CQebTransButton m_lblFilter;
    CEdit m_editFilter;
    CImageList m_imageList;
    // The table's commands that have a button, in its order.
    CQebTransButton m_buttons[velmora::app::kRunManagerButtonCount];
    CQebTransButton m_lblStatus;
    // Every entry listed, in list order, and those of them the filter
    // shows: the list's rows.
    std::vector<RunEntry> m_allEntries;
    std::vector<RunEntry> m_entries;
    RunEntryFilter m_filter;
    // Keys that could not be read at the last listing.
    int m_unreadable = 0;
    // The entries whose values are still to be read.
    velmora::app::RowValueFill m_valueFill;
    // The status line ShowListingStatus set last: the listing's finish
    // shows it again with the marks, unless an action's outcome replaced it.
    CStringW m_listingStatus;
    RunSortOrder m_sortOrder;
    // Which files' icons are in m_imageList or being read for it; the
    // worker that reads them, stopped when the window goes.
    velmora::app::RowIconBook m_iconBook;
    FileIconLoader m_iconLoader;
    // Files whose icons a paint asked for, not yet given to the worker:
    // the screen is drawn first, so that the worker's reading never slows
    // the paint that asked. Each with the image list generation it is for.
    std::vector<std::pair<unsigned, CStringW>> m_iconsToAsk;
    // Whether the keys listed may have changed since the last listing; none:
    // every refresh lists again.
    std::unique_ptr<ListingChangeWatch> m_listingWatch;
    // The status line's whole text, and the tip that shows it.
    CStringW m_statusText;
    CTextTip m_statusTip;
    velmora::skin::SkinRect m_normalPlace;
    // The columns open as designed (or as remembered) and keep their widths,
    // rescaled, through a change of DPI; every other change of size shares.
    bool m_columnsFollowSize = false;
};
