// CListCtrl: a list-view control (SysListView32) in report view, bound to a
// template control with DDX_Control or created with Create. Only what the
// tool's lists use: columns, owner data (the parent keeps the items and
// answers LVN_GETDISPINFO for the rows shown), a small-image list, selection
// and item state. Notifications (LVN_*, NM_*) reach the parent as WM_NOTIFY.
//
// The list never owns its image list: it always has LVS_SHAREIMAGELISTS, and
// the CImageList the parent keeps must outlive the list's window.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <vector>

#include "wnd/Wnd.h"

class CListCtrl : public CWnd {
public:
    // An owner-data report list with `dwStyle` (LVS_REPORT, LVS_OWNERDATA and
    // LVS_SHAREIMAGELISTS are added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // LVS_EX_* bits; returns the previous ones.
    DWORD SetExtendedStyle(DWORD dwExStyle) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwExStyle));
    }
    // Inserts column `nCol` (LVCFMT_LEFT, ...); its index, or -1.
    int InsertColumn(int nCol, const CStringW& strHeading, int nFormat, int nWidth);
    int GetColumnWidth(int nCol) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, nCol)); }
    BOOL SetColumnWidth(int nCol, int cx) {
        return static_cast<BOOL>(
            SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(nCol), MAKELPARAM(cx, 0)));
    }
    // The small-image list (a view: see above). Returns the previous one.
    HIMAGELIST SetSmallImageList(HIMAGELIST hList) {
        return reinterpret_cast<HIMAGELIST>(
            SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hList)));
    }

    // Owner data: the number of rows. Selection and focus are dropped.
    BOOL SetItemCount(int nItems) {
        return static_cast<BOOL>(SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(nItems), 0));
    }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // The text of a cell as the list shows it (for an owner-data list, what
    // the parent answers), whatever its length.
    CStringW GetItemText(int nItem, int nSubItem) const;
    // The image index of a row, as the list shows it; -1 when it has none.
    int GetItemImage(int nItem) const;

    // Selection. nItem -1 means every row.
    int GetSelectedCount() const { return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT)); }
    std::vector<int> GetSelectedItems() const;
    int GetNextItem(int nItem, UINT nFlags) const {
        return static_cast<int>(
            SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), MAKELPARAM(nFlags, 0)));
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) {
        return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(nItem), bPartialOK));
    }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    BOOL RedrawItems(int nFirst, int nLast) {
        return static_cast<BOOL>(SendMessage(LVM_REDRAWITEMS, nFirst, nLast));
    }
};
