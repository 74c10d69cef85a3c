// Menus. CMenuView works on a menu someone else owns, such as a window's own
// window menu (CWnd::GetSystemMenu), which must never be destroyed; CMenu
// owns a popup menu it created and destroys it. Both offer the operations
// the dialogs use.
#pragma once

#include <windows.h>

#include "base/wide_text.h"
#include "base/win32_handles.h"

class CMenuOperations {
public:
    HMENU GetSafeHmenu() const noexcept { return m_hMenu; }
    operator HMENU() const noexcept { return m_hMenu; }

    // Item `nId` (by command) enabled or grey; returns the previous state, or
    // -1 when there is no such item.
    int EnableMenuItem(UINT nId, UINT nEnable) const {
        return static_cast<int>(::EnableMenuItem(m_hMenu, nId, MF_BYCOMMAND | nEnable));
    }
    // The item's MF_* state flags, or (UINT)-1 when there is no such item.
    UINT GetMenuState(UINT nId) const { return ::GetMenuState(m_hMenu, nId, MF_BYCOMMAND); }
    BOOL SetDefaultItem(UINT nId) const { return ::SetMenuDefaultItem(m_hMenu, nId, FALSE); }
    UINT GetDefaultItem() const { return ::GetMenuDefaultItem(m_hMenu, FALSE, 0); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nId = 0, const CStringW& strText = CStringW()) const {
        return ::AppendMenuW(
            m_hMenu, nFlags, nId,
            (nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) != 0 ? nullptr : velmora::WinText(strText));
    }
    // Inserts before the item at `nPosition` (by position).
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nId = 0,
                    const CStringW& strText = CStringW()) const {
        return ::InsertMenuW(
            m_hMenu, nPosition, MF_BYPOSITION | nFlags, nId,
            (nFlags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR)) != 0 ? nullptr : velmora::WinText(strText));
    }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPosition) const { return ::GetMenuItemID(m_hMenu, nPosition); }
    // Shows the menu at the screen point and tracks it until it closes; the
    // chosen item arrives at `hOwner` as WM_COMMAND (without TPM_RETURNCMD).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, HWND hOwner) const {
        return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hOwner, nullptr);
    }

protected:
    explicit CMenuOperations(HMENU hMenu) noexcept : m_hMenu(hMenu) {}
    ~CMenuOperations() = default;
    CMenuOperations(const CMenuOperations&) noexcept = default;
    CMenuOperations& operator=(const CMenuOperations&) noexcept = default;

    HMENU m_hMenu;
};

// A view: copying it copies the handle, never the menu.
class CMenuView : public CMenuOperations {
public:
    explicit CMenuView(HMENU hMenu = nullptr) noexcept : CMenuOperations(hMenu) {}
};

class CMenu : public CMenuOperations {
public:
    CMenu() noexcept : CMenuOperations(nullptr) {}
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL CreatePopupMenu() {
        m_owned.Attach(::CreatePopupMenu());
        m_hMenu = m_owned.Get();
        return m_hMenu != nullptr;
    }
    void Attach(HMENU hMenu) noexcept {
        m_owned.Attach(hMenu);
        m_hMenu = m_owned.Get();
    }
    [[nodiscard]] HMENU Detach() noexcept {
        m_hMenu = nullptr;
        return m_owned.Detach();
    }
    void Destroy() noexcept {
        m_owned.Destroy();
        m_hMenu = nullptr;
    }

private:
    velmora::OwnedMenu m_owned;
};
