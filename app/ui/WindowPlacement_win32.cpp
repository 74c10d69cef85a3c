#include "app/ui/WindowPlacement_win32.h"

#include "app/ui/WindowPlacement.h"
#include "wnd/Wnd.h"

namespace velmora::app {

namespace {

skin::SkinRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddWorkArea(HMONITOR hMonitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (::GetMonitorInfoW(hMonitor, &info))
        reinterpret_cast<std::vector<skin::SkinRect>*>(data)->push_back(FromRect(info.rcWork));
    return TRUE;
}

}  // namespace

skin::SkinRect WorkAreaOf(HWND hWnd) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info)) return {};
    return FromRect(info.rcWork);
}

std::vector<skin::SkinRect> AllWorkAreas() {
    std::vector<skin::SkinRect> areas;
    ::EnumDisplayMonitors(nullptr, nullptr, &AddWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

skin::SkinRect WindowRectOf(HWND hWnd) {
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return FromRect(r);
}

void CentreInsideWorkArea(CWnd& window) {
    const HWND hOwner = ::GetWindow(window.m_hWnd, GW_OWNER);
    const bool onOwner = hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner);
    // The owner's monitor: the one the user is looking at.
    const skin::SkinRect work = WorkAreaOf(onOwner ? hOwner : window.m_hWnd);
    const skin::SkinRect own = WindowRectOf(window.m_hWnd);
    const skin::SkinRect placed =
        PlaceOnOwner(onOwner ? WindowRectOf(hOwner) : work, {own.Width(), own.Height()}, work);
    ::SetWindowPos(window.m_hWnd, nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace velmora::app
