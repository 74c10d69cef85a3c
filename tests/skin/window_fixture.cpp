#include "window_fixture.h"

#include "wnd/DC.h"

namespace velmora::testing {
namespace {

constexpr wchar_t kParentClass[] = L"Velmora.SkinTestParent";

void RegisterParentClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.lpszClassName = kParentClass;
        return ::RegisterClassW(&wc) != 0;
    }();
    static_cast<void>(registered);
}

}  // namespace

TestParent::TestParent(int x, int y, int width, int height) {
    RegisterParentClass();
    CreateEx(WS_EX_TOPMOST, kParentClass, u"skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
             RECT{x, y, x + width, y + height}, nullptr, 0);
    UpdateWindow();
}

bool TestParent::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND) {
        commands.push_back({wParam, lParam});
        result = 0;
        return true;
    }
    return CWnd::ProcessWindowMessage(message, wParam, lParam, result);
}

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

bool IsQueued(UINT message) {
    MSG msg;
    return ::PeekMessageA(&msg, nullptr, message, message, PM_NOREMOVE) != FALSE;
}

COLORREF ScreenPixel(HWND hWnd, int x, int y) {
    CClientDC dc(hWnd);
    return dc.GetPixel(x, y);
}

void MakeBandedBitmap(CBitmap& bitmap, int width, int height, const std::vector<int>& starts,
                      const std::vector<COLORREF>& colours) {
    CClientDC screen(nullptr);
    bitmap.CreateCompatibleBitmap(screen, width, height);
    CMemoryDC dc(screen);
    const SelectedObject selected(dc, bitmap.GetSafeHandle());
    for (std::size_t i = 0; i < starts.size() && i < colours.size(); ++i) {
        const int right = i + 1 < starts.size() ? starts[i + 1] : width;
        dc.FillSolidRect(RECT{starts[i], 0, right, height}, colours[i]);
    }
}

void SetBitmapPixel(CBitmap& bitmap, int x, int y, COLORREF colour) {
    CMemoryDC dc(nullptr);
    const SelectedObject selected(dc, bitmap.GetSafeHandle());
    ::SetPixel(dc, x, y, colour);
}

bool CanStillCreateGdiObjects(int count) {
    std::vector<OwnedRegion> regions;
    regions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        OwnedRegion region(::CreateRectRgn(0, 0, 1, 1));
        if (!region) return false;
        regions.push_back(std::move(region));
    }
    return true;
}

}  // namespace velmora::testing
