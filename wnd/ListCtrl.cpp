#include "wnd/ListCtrl.h"

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CreateEx(0, WC_LISTVIEWW, CStringW(), dwStyle | LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS,
                    rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, const CStringW& strHeading, int nFormat, int nWidth) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<LPWSTR>(velmora::WinText(strHeading));
    column.iSubItem = nCol;
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)));
}

CStringW CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The list copies at most the buffer's size less one, cut before a
    // surrogate pair that would not fit, and reports how much it copied: the
    // text is whole once two units of room were left over.
    const auto read = [this, nItem, nSubItem](char16_t* buffer, std::size_t capacity) -> std::size_t {
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.pszText = velmora::WinBuffer(buffer);
        item.cchTextMax = static_cast<int>(capacity);
        const auto copied = static_cast<std::size_t>(
            SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
        // An empty cell reads as a failed read: the empty text either way.
        return copied + 2 < capacity ? copied : capacity;
    };
    return velmora::ReadGrowingText(read, 256, 1u << 20);
}

int CListCtrl::GetItemImage(int nItem) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = nItem;
    item.iImage = -1;
    if (!SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
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
    LVITEMW item{};
    item.state = nState;
    item.stateMask = nMask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)));
}
