// CRunManagerDlg: the run-command manager, opened from the main dialog's
// window menu. A skinned dialog like the main one (the same frame and caption
// buttons, but resizable) that lists every entry below App Paths of
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with its icon, target, scope and
// marks, and starts, shows, deletes and re-reads the selected ones.
//
// The list is an owner-data list view: the dialog keeps the entries in list
// order and answers for the rows the list shows, so that thousands of
// entries cost nothing to fill, and icons are read only for rows that are
// drawn (once per target file).
#pragma once

#include <map>
#include <vector>

#include "app/CommandText.h"
#include "app/DialogServices.h"
#include "app/RunEntries.h"
#include "app/RunEntrySort.h"
#include "app/RunManagerText.h"
#include "skin/QebDialog.h"
#include "skin/QebTransButton.h"
#include "wnd/Gdi.h"
#include "wnd/ImageList.h"
#include "wnd/ListCtrl.h"

class CRunManagerDlg : public CQebDialog {
public:
    // `strAppPathsKey`: the key below both roots whose entries are listed
    // (App Paths; the tests give a scratch key of their own). `services`
    // stays the creator's: it must outlive the dialog.
    explicit CRunManagerDlg(const DialogServices& services, CWnd* pParent = nullptr,
                            const CStringW& strAppPathsKey = kAppPathsKey);

protected:
    BOOL OnInitDialog() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter has no action of its own in the manager: it does not close it.
    void OnOK() override {}

    BOOL OnEraseBkgnd(HDC hDC);
    void LayOutControls();
    // At another DPI: the skin, the fonts, the buttons' looks, the columns
    // (as wide as the user left them, rescaled) and the row icons.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;
    LRESULT OnListNotify(NMHDR* pHeader);
    void OnGetDispInfo(NMLVDISPINFOW* pInfo);
    // Type-ahead: the row of the next command that starts with the typed text.
    int OnFindItem(const CStringW& strTyped, int nStart);
    void OnColumnClick(int nColumn);

    // A press of one of the four buttons: its action, then the keyboard
    // focus back on the list. False for other controls.
    bool OnButton(UINT nID);
    // The actions, on the selected entries.
    void OnRun();
    void OnOpenLocation();
    void OnDelete();
    void OnRefresh();

    // Reads both scopes again, marks and sorts the entries and shows them.
    void Refresh();
    // The selected entries' indexes in m_entries, in list order.
    std::vector<int> SelectedEntries() const;
    // Asks before an action on many entries; true to go on.
    bool ConfirmMany(const char* action, std::size_t count);
    // The image of an entry's icon in m_imageList, read on first use.
    int ImageOf(const RunEntry& entry);
    void SetStatus(const CStringW& strText);

    const DialogServices& m_services;
    CStringW m_strAppPathsKey;
    CBitmap m_bmpCaptionButtons;
    CBitmap m_bmpFrame;
    CBitmap m_bmpButton;
    CListCtrl m_listCommands;
    CImageList m_imageList;
    CQebTransButton m_btnRun;
    CQebTransButton m_btnOpenLocation;
    CQebTransButton m_btnDelete;
    CQebTransButton m_btnRefresh;
    CQebTransButton m_lblStatus;
    std::vector<RunEntry> m_entries;
    RunSortOrder m_sortOrder;
    // Image index by target file, letter case folded; 0 is the stand-in.
    std::map<CStringW, int> m_imageByFile;
};
