// CIcon: owns one icon handle and destroys it (DestroyIcon) when replaced or
// destroyed. Attach releases the icon held before; Detach hands ownership
// out. Not for shared icons from LoadIcon, which must never be destroyed.
#pragma once

#include <windows.h>

class CIcon {
public:
    CIcon() noexcept = default;
    explicit CIcon(HICON hIcon) noexcept : m_hIcon(hIcon) {}
    ~CIcon() { Release(); }
    CIcon(const CIcon&) = delete;
    CIcon& operator=(const CIcon&) = delete;

    HICON GetSafeHandle() const noexcept { return m_hIcon; }
    operator HICON() const noexcept { return m_hIcon; }

    void Attach(HICON hIcon) noexcept {
        if (hIcon == m_hIcon) return;
        Release();
        m_hIcon = hIcon;
    }
    HICON Detach() noexcept {
        HICON hIcon = m_hIcon;
        m_hIcon = nullptr;
        return hIcon;
    }
    void Release() noexcept {
        if (m_hIcon != nullptr) ::DestroyIcon(m_hIcon);
        m_hIcon = nullptr;
    }

private:
    HICON m_hIcon = nullptr;
};
