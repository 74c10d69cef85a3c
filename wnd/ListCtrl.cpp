#include "wnd/ListCtrl.h"

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, WC_LISTVIEWA, "", dwStyle | LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS, rect,
                    pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszHeading, int nFormat, int nWidth) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<LPSTR>(lpszHeading);
    column.iSubItem = nCol;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The list copies at most the buffer's size less one, cut before a
    // double-byte character that would not fit, and reports how much it
    // copied: the text is whole once two bytes of room were left over.
    CString text;
    for (int capacity = 256; capacity <= (1 << 20); capacity *= 4) {
        char* buffer = text.GetBuffer(capacity);
        LVITEMA item{};
        item.iSubItem = nSubItem;
        item.pszText = buffer;
        item.cchTextMax = capacity + 1;
        const int copied = static_cast<int>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        if (copied + 2 <= capacity) {
            text.ReleaseBuffer(copied >= 0 ? copied : 0);
            return text;
        }
        text.ReleaseBuffer(0);
    }
    return text;
}

int CListCtrl::GetItemImage(int nItem) const {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iImage = -1;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return item.iImage;
}

std::vector<int> CListCtrl::GetSelectedItems() const {
    std::vector<int> items;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        items.push_back(i);
    }
    return items;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
    LVITEMA item{};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}
