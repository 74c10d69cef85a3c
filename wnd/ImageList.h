// CImageList: owns an image list of the common controls (ImageList_Destroy
// when replaced or destroyed). A window that only draws from a list someone
// else keeps holds a pointer to the owner.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "base/shell_on_demand_win32.h"
#include "base/win32_handles.h"

class CImageList {
public:
    CImageList() noexcept = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST GetSafeHandle() const noexcept { return m_list.Get(); }
    operator HIMAGELIST() const noexcept { return m_list.Get(); }

    // An empty list of width x height images (ILC_* flags).
    BOOL Create(int width, int height, UINT nFlags, int nInitial, int nGrow) {
        m_list.Attach(velmora::shell::ImageList_Create(width, height, nFlags, nInitial, nGrow));
        return m_list ? TRUE : FALSE;
    }
    void Attach(HIMAGELIST hList) noexcept { m_list.Attach(hList); }
    [[nodiscard]] HIMAGELIST Detach() noexcept { return m_list.Detach(); }
    void Destroy() noexcept { m_list.Destroy(); }

    // Adds a copy of the icon; the caller keeps its own. Returns the new
    // image's index, or -1.
    int Add(HICON hIcon) {
        return m_list ? velmora::shell::ImageList_ReplaceIcon(m_list.Get(), -1, hIcon) : -1;
    }
    int GetImageCount() const { return m_list ? velmora::shell::ImageList_GetImageCount(m_list.Get()) : 0; }
    BOOL Draw(HDC hDC, int nImage, POINT point, UINT nStyle) const {
        if (!m_list) return FALSE;
        return velmora::shell::ImageList_Draw(m_list.Get(), nImage, hDC, point.x, point.y, nStyle);
    }

private:
    velmora::OwnedImageList m_list;
};
