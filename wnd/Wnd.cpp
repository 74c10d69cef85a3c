#include "wnd/Wnd.h"

#include <shellapi.h>

#include <mutex>
#include <unordered_map>

#include "wnd/Gdi.h"
#include "wnd/Geometry.h"

namespace {

// The window property that links a window to its CWnd.
constexpr wchar_t kObjectProperty[] = L"Velmora.CWnd";
// The procedure below ours, kept on a window whose object let go while
// another procedure was installed above ours: that procedure still calls
// ours, which hands the message on to this one.
constexpr wchar_t kOrphanSuperProperty[] = L"Velmora.CWnd.Super";

WNDPROC OrphanSuper(HWND hWnd) noexcept {
    return reinterpret_cast<WNDPROC>(::GetPropW(hWnd, kOrphanSuperProperty));
}

// The objects bound to windows, beside the property that records each on
// its window. Every message looks its object up: under Wine a property read
// is a request to the wineserver and its reply, some hundreds of them for a
// list drawn with its notifications, while this is a look-up in memory. An
// entry lives exactly as long as the binding (SubclassWindow to Unbind).
class BoundObjects {
public:
    CWnd* Find(HWND hWnd) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_objects.find(hWnd);
        return found != m_objects.end() ? found->second : nullptr;
    }
    void Bind(HWND hWnd, CWnd* pWnd) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_objects[hWnd] = pWnd;
    }
    void Unbind(HWND hWnd) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_objects.erase(hWnd);
    }

private:
    std::mutex m_mutex;
    std::unordered_map<HWND, CWnd*> m_objects;
};

BoundObjects& Bound() noexcept {
    static BoundObjects bound;
    return bound;
}

// Binds `pWnd` to `hWnd`: the property and the look-up; false when the
// property cannot be set.
bool BindObject(HWND hWnd, CWnd* pWnd) {
    if (!::SetPropW(hWnd, kObjectProperty, pWnd)) return false;
    Bound().Bind(hWnd, pWnd);
    return true;
}

}  // namespace

CWnd::~CWnd() {
    // The derived parts of this object are gone already: the window must not
    // reach them through its procedure while it is being destroyed.
    HWND hWnd = UnsubclassWindow();
    if (hWnd != nullptr && ::IsWindow(hWnd)) ::DestroyWindow(hWnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) noexcept {
    if (hWnd == nullptr) return nullptr;
    return Bound().Find(hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || !::IsWindow(hWnd) || FromHandlePermanent(hWnd) != nullptr) {
        return FALSE;
    }
    if (const WNDPROC orphanSuper = OrphanSuper(hWnd)) {
        // Our procedure is still in the window's chain from an earlier
        // binding. Only where it is the installed one again can it be taken
        // back; beneath another procedure it would see every message twice.
        if (!IsOurProcedureInstalled(hWnd)) return FALSE;
        if (!BindObject(hWnd, this)) return FALSE;
        ::RemovePropW(hWnd, kOrphanSuperProperty);
        m_hWnd = hWnd;
        m_pfnSuper = orphanSuper;
        PreSubclassWindow();
        return TRUE;
    }
    if (!BindObject(hWnd, this)) return FALSE;
    m_hWnd = hWnd;
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcTrampoline)));
    if (m_pfnSuper == nullptr) {
        ::RemovePropW(hWnd, kObjectProperty);
        Bound().Unbind(hWnd);
        m_hWnd = nullptr;
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() noexcept { return Unbind(false); }

bool CWnd::IsOurProcedureInstalled(HWND hWnd) noexcept {
    return ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WindowProcTrampoline);
}

HWND CWnd::Unbind(bool bWindowGone) noexcept {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr) return nullptr;
    Bound().Unbind(hWnd);
    if (::IsWindow(hWnd)) {
        ::RemovePropW(hWnd, kObjectProperty);
        if (m_pfnSuper != nullptr) {
            if (IsOurProcedureInstalled(hWnd)) {
                ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            } else if (!bWindowGone) {
                // Someone subclassed the window after us and calls our
                // procedure as theirs to chain to: restoring ours would cut
                // them out. Ours stays in the chain and passes everything on.
                ::SetPropW(hWnd, kOrphanSuperProperty, reinterpret_cast<HANDLE>(m_pfnSuper));
            }
        }
    }
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, const CStringW& strWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (m_hWnd != nullptr) return FALSE;
    HWND hParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    // A child's menu argument is its control identifier.
    HMENU hMenuOrId = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    HWND hWnd = ::CreateWindowExW(dwExStyle, lpszClassName, velmora::WinText(strWindowName), dwStyle,
                                  rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  hParent, hMenuOrId, ::GetModuleHandleW(nullptr), nullptr);
    if (hWnd == nullptr) return FALSE;
    if (!SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr) return FALSE;
    // WM_NCDESTROY unbinds this object on the way.
    return ::DestroyWindow(m_hWnd);
}

CStringW CWnd::GetWindowText() const {
    // The length asked first can be short of the text (it may change in
    // between): a text that fills the buffer is read again in a larger one.
    const auto read = [this](char16_t* buffer, std::size_t capacity) -> std::size_t {
        const int copied = ::GetWindowTextW(m_hWnd, velmora::WinBuffer(buffer), static_cast<int>(capacity));
        if (copied <= 0) return 0;
        return static_cast<std::size_t>(copied) + 1 < capacity ? static_cast<std::size_t>(copied) : capacity;
    };
    const int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0) return CStringW();
    return velmora::ReadGrowingText(read, static_cast<std::size_t>(length) + 2, 1u << 24);
}

void CWnd::CenterWindow() {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    RECT place{};
    if (!CenteredPlace(window.right - window.left, window.bottom - window.top, &place)) return;
    ::SetWindowPos(m_hWnd, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CWnd::CenteredPlace(int cx, int cy, RECT* pPlace) const {
    RECT area{};
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    if ((GetStyle() & WS_CHILD) != 0) {
        HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &area);
        ::MapWindowPoints(hParent, nullptr, reinterpret_cast<POINT*>(&area), 2);
    } else if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner)) {
        ::GetWindowRect(hOwner, &area);
    } else {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (!::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
        area = monitor.rcWork;
    }
    const velmora::LayoutPoint origin =
        velmora::CenteredOrigin({area.left, area.top, area.right, area.bottom}, cx, cy);
    POINT topLeft{origin.x, origin.y};
    if ((GetStyle() & WS_CHILD) != 0) ::ScreenToClient(::GetParent(m_hWnd), &topLeft);
    *pPlace = RECT{topLeft.x, topLeft.y, topLeft.x + cx, topLeft.y + cy};
    return true;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD before = GetStyle();
    const DWORD after = (before & ~dwRemove) | dwAdd;
    if (after == before) return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(after));
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
    const DWORD before = GetExStyle();
    const DWORD after = (before & ~dwRemove) | dwAdd;
    if (after == before) return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(after));
    if (nFlags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    }
    return TRUE;
}

int CWnd::SetWindowRgn(CRgn& region, BOOL bRedraw) {
    if (m_hWnd == nullptr) return 0;
    const int result = ::SetWindowRgn(m_hWnd, region.GetSafeHandle(), bRedraw);
    // From a successful call on the system owns the region.
    if (result != 0) static_cast<void>(region.Detach());
    return result;
}

// What the shell's DragAcceptFiles does, without loading the shell for it.
void CWnd::DragAcceptFiles(BOOL bAccept) {
    if (bAccept) {
        ModifyStyleEx(0, WS_EX_ACCEPTFILES);
    } else {
        ModifyStyleEx(WS_EX_ACCEPTFILES, 0);
    }
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(MSG* pMsg) {
    if (pMsg == nullptr) return FALSE;
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            try {
                if (pWnd->PreTranslateMessage(pMsg)) return TRUE;
            } catch (...) {
                // The message goes on to the next window and to dispatch.
            }
        }
        // GetParent also answers a top-level window's owner: stop at the top.
        if ((::GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    return FALSE;
}

bool CWnd::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            if (OnCommand(wParam, lParam)) {
                result = 0;
                return true;
            }
            return false;
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_COMPAREITEM:
        case WM_DELETEITEM:
            return ReflectToChild(message, wParam, lParam, result);
        default:
            return false;
    }
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND hChild = nullptr;
    switch (message) {
        case WM_DRAWITEM:
            hChild = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
            break;
        case WM_COMPAREITEM:
            hChild = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
            break;
        case WM_DELETEITEM:
            hChild = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
            break;
        case WM_MEASUREITEM:
            // Menus are measured by their owner; controls are found by identifier.
            if (reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlType != ODT_MENU) {
                hChild = ::GetDlgItem(m_hWnd, static_cast<int>(wParam));
            }
            break;
        default:
            break;
    }
    CWnd* pChild = FromHandlePermanent(hChild);
    if (pChild == nullptr || pChild == this) return false;
    LRESULT childResult = 0;
    if (!pChild->OnChildNotify(message, wParam, lParam, &childResult)) return false;
    result = childResult;
    return true;
}

LRESULT CWnd::Default() { return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Handlers may send messages to their own window: each level keeps the
    // message that Default() refers to.
    struct RestoreCurrent {
        CurrentMessage& slot;
        CurrentMessage outer;
        ~RestoreCurrent() { slot = outer; }
    } restore{m_current, m_current};
    m_current = {message, wParam, lParam};
    LRESULT result = 0;
    if (!ProcessWindowMessage(message, wParam, lParam, result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CALLBACK CWnd::WindowProcTrampoline(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr) {
        // No object any more, but a procedure above ours still chains to us:
        // the window's own procedure gets the message.
        const WNDPROC orphanSuper = OrphanSuper(hWnd);
        if (orphanSuper == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);
        const LRESULT result = ::CallWindowProcW(orphanSuper, hWnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) ::RemovePropW(hWnd, kOrphanSuperProperty);
        return result;
    }
    if (message == WM_NCDESTROY) {
        // The last message of the window: let it through, then unbind.
        LRESULT result = 0;
        try {
            result = pWnd->WindowProc(message, wParam, lParam);
        } catch (...) {
            result = 0;
        }
        pWnd->Unbind(true);
        pWnd->PostNcDestroy();
        return result;
    }
    try {
        return pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // Win32 cannot unwind C++ frames; the message is dropped instead.
        return 0;
    }
}
