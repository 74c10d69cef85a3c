// CWnd under Wine: message maps and their chaining to the base class and to
// default processing, binding and unbinding, the exception boundary, owner
// drawing reflected to the child, and the drop message filter.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "velmora/CString.h"
#include "wnd/Controls.h"
#include "wnd/MessageFilter.h"
#include "wnd/Wnd.h"

namespace {

constexpr UINT kBaseMessage = WM_APP + 1;
constexpr UINT kDerivedMessage = WM_APP + 2;
constexpr UINT kThrowingMessage = WM_APP + 3;
constexpr UINT kUnhandledMessage = WM_APP + 4;

class BaseWindow : public CWnd {
public:
    int baseCalls = 0;

protected:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case kBaseMessage:
                ++baseCalls;
                result = 100 + static_cast<LRESULT>(wParam);
                return true;
            default:
                return CWnd::ProcessWindowMessage(message, wParam, lParam, result);
        }
    }
};

class DerivedWindow : public BaseWindow {
public:
    int derivedCalls = 0;
    int postNcDestroyCalls = 0;
    CStringW textSeenAfterDefault;

protected:
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case kDerivedMessage:
                ++derivedCalls;
                result = 200;
                return true;
            case kThrowingMessage:
                throw CStringError(kStringErrorInvalidArg);
            case WM_SETTEXT:
                // Handled here, with the default processing as part of it.
                result = Default();
                textSeenAfterDefault = GetWindowText();
                return true;
            default:
                return BaseWindow::ProcessWindowMessage(message, wParam, lParam, result);
        }
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
};

RECT Rect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

TEST(WindowMessageMapTest, EachMessageReachesTheClassThatHandlesIt) {
    DerivedWindow window;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"start", WS_POPUP, Rect(0, 0, 50, 20), nullptr, 0));
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);

    EXPECT_EQ(window.SendMessage(kDerivedMessage), 200);
    EXPECT_EQ(window.SendMessage(kBaseMessage, 5), 105);
    EXPECT_EQ(window.derivedCalls, 1);
    EXPECT_EQ(window.baseCalls, 1);
    // Unhandled: the static control's own procedure answers.
    EXPECT_EQ(window.SendMessage(kUnhandledMessage), 0);
    // A Unicode window: its messages carry UTF-16.
    wchar_t text[16] = {};
    EXPECT_EQ(window.SendMessage(WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text)), 5);
    EXPECT_STREQ(text, L"start");

    window.SetWindowText(u"changed");
    EXPECT_EQ(window.textSeenAfterDefault, CStringW(u"changed"));
    EXPECT_EQ(window.GetWindowText(), CStringW(u"changed"));
}

TEST(WindowMessageMapTest, AnExceptionStopsAtTheWindowProcedure) {
    DerivedWindow window;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 50, 20), nullptr, 0));
    EXPECT_EQ(window.SendMessage(kThrowingMessage), 0);
    // The window still works, and Default() still refers to the right message.
    EXPECT_EQ(window.SendMessage(kDerivedMessage), 200);
    window.SetWindowText(u"after");
    EXPECT_EQ(window.textSeenAfterDefault, CStringW(u"after"));
}

TEST(WindowBindingTest, SubclassingAndUnbinding) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(hWnd, nullptr);
    const LONG_PTR original = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);

    DerivedWindow first;
    DerivedWindow second;
    ASSERT_TRUE(first.SubclassWindow(hWnd));
    EXPECT_FALSE(second.SubclassWindow(hWnd)) << "a window has one object";
    EXPECT_FALSE(first.SubclassWindow(hWnd)) << "an object has one window";
    EXPECT_EQ(::SendMessageA(hWnd, kDerivedMessage, 0, 0), 200);

    EXPECT_EQ(first.UnsubclassWindow(), hWnd);
    EXPECT_EQ(first.m_hWnd, nullptr);
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(::SendMessageA(hWnd, kDerivedMessage, 0, 0), 0);
    EXPECT_TRUE(second.SubclassWindow(hWnd));
    EXPECT_TRUE(second.DestroyWindow());
    EXPECT_EQ(second.m_hWnd, nullptr);
    EXPECT_EQ(second.postNcDestroyCalls, 1);
    EXPECT_FALSE(::IsWindow(hWnd));
}

// A window class of our own, and another party's subclass on top of ours that
// keeps the procedure it replaced and calls it, as a control library does.
constexpr UINT kPing = WM_APP + 5;
constexpr wchar_t kPingClass[] = L"Velmora.PingTest";
int g_ownPings = 0;
int g_ownNcDestroys = 0;
WNDPROC g_belowForeign = nullptr;
int g_foreignPings = 0;
LONG_PTR g_installedAfterNcDestroy = 0;

LRESULT CALLBACK OwnProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPing) {
        ++g_ownPings;
        return 7;
    }
    if (message == WM_NCDESTROY) ++g_ownNcDestroys;
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kPing) ++g_foreignPings;
    const LRESULT result = ::CallWindowProcW(g_belowForeign, hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) g_installedAfterNcDestroy = ::GetWindowLongPtrW(hWnd, GWLP_WNDPROC);
    return result;
}

class ForeignSubclassTest : public testing::Test {
protected:
    void SetUp() override {
        static const ATOM registered = [] {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = &OwnProc;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kPingClass;
            return ::RegisterClassW(&windowClass);
        }();
        ASSERT_NE(registered, 0);
        g_ownPings = g_ownNcDestroys = g_foreignPings = 0;
        g_installedAfterNcDestroy = 0;
        hWnd = ::CreateWindowExW(0, kPingClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(hWnd, nullptr);
    }
    void TearDown() override {
        if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    }
    void SubclassOnTop() {
        g_belowForeign = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
    }

    HWND hWnd = nullptr;
};

TEST_F(ForeignSubclassTest, UnbindingBeneathALaterSubclassKeepsTheChain) {
    {
        DerivedWindow window;
        ASSERT_TRUE(window.SubclassWindow(hWnd));
        SubclassOnTop();
        EXPECT_EQ(window.UnsubclassWindow(), hWnd);
        ASSERT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&ForeignProc))
            << "the later subclass stays installed";
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
        EXPECT_FALSE(window.SubclassWindow(hWnd)) << "ours still lies beneath theirs";
    }
    // The object is gone; what they pass down reaches the window's own procedure.
    EXPECT_EQ(::SendMessageW(hWnd, kPing, 0, 0), 7);
    EXPECT_EQ(g_foreignPings, 1);
    EXPECT_EQ(g_ownPings, 1);

    // They leave: ours is installed again, and a new object takes it back.
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_belowForeign));
    DerivedWindow again;
    ASSERT_TRUE(again.SubclassWindow(hWnd));
    EXPECT_EQ(::SendMessageW(hWnd, kDerivedMessage, 0, 0), 200);
    EXPECT_EQ(::SendMessageW(hWnd, kPing, 0, 0), 7);
    EXPECT_EQ(g_ownPings, 2);
    EXPECT_EQ(again.UnsubclassWindow(), hWnd);
    EXPECT_EQ(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OwnProc));
}

TEST_F(ForeignSubclassTest, DestroyedBeneathALaterSubclass) {
    DerivedWindow window;
    ASSERT_TRUE(window.SubclassWindow(hWnd));
    SubclassOnTop();
    EXPECT_TRUE(::DestroyWindow(hWnd));
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(window.postNcDestroyCalls, 1);
    EXPECT_EQ(g_ownNcDestroys, 1);
    EXPECT_EQ(g_installedAfterNcDestroy, reinterpret_cast<LONG_PTR>(&ForeignProc))
        << "their procedure stays installed to its last message";
}

TEST(WindowBindingTest, DestroyingTheObjectDestroysItsWindow) {
    HWND hWnd = nullptr;
    {
        DerivedWindow window;
        ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
        hWnd = window.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(WindowBindingTest, CreateFailsCleanlyForAnUnknownClass) {
    DerivedWindow window;
    EXPECT_FALSE(window.CreateEx(0, L"NoSuchClass.Velmora", u"", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(window.m_hWnd, nullptr);
}

class RecordingButton : public CButton {
public:
    std::vector<UINT> drawnIds;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { drawnIds.push_back(lpDrawItemStruct->CtlID); }
};

TEST(OwnerDrawTest, TheParentReflectsDrawItemToTheButton) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 200, 100), nullptr, 0));
    RecordingButton button;
    ASSERT_TRUE(
        button.Create(u"drawn", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, Rect(5, 5, 60, 20), &parent, 77));
    EXPECT_EQ(button.GetDlgCtrlID(), 77);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 77;
    item.hwndItem = button.m_hWnd;
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 77, reinterpret_cast<LPARAM>(&item)), TRUE);
    ASSERT_EQ(button.drawnIds.size(), 1u);
    EXPECT_EQ(button.drawnIds[0], 77u);

    // A control without an object of its own gets the default processing.
    HWND hPlain = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_OWNERDRAW, 0, 0, 10, 10, parent.m_hWnd,
                                    reinterpret_cast<HMENU>(78), ::GetModuleHandleA(nullptr), nullptr);
    item.CtlID = 78;
    item.hwndItem = hPlain;
    parent.SendMessage(WM_DRAWITEM, 78, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(button.drawnIds.size(), 1u);
}

struct FilterCall {
    HWND hWnd;  // null for the process's filter
    UINT message;
    DWORD action;
};
std::vector<FilterCall> g_filterCalls;

BOOL WINAPI RecordFilterCall(HWND hWnd, UINT message, DWORD action, void*) {
    g_filterCalls.push_back({hWnd, message, action});
    return TRUE;
}

BOOL WINAPI RecordProcessFilterCall(UINT message, DWORD action) {
    g_filterCalls.push_back({nullptr, message, action});
    return TRUE;
}

// The filter calls AllowDroppedFiles makes with the given functions in place.
std::vector<FilterCall> FilterCallsWith(HWND hWnd, ChangeWindowMessageFilterExFn forWindow,
                                        ChangeWindowMessageFilterFn forProcess, int* pAllowed) {
    g_filterCalls.clear();
    *pAllowed = AllowDroppedFiles(hWnd, {forWindow, forProcess});
    return g_filterCalls;
}

TEST(MessageFilterTest, LetsTheThreeDropMessagesThrough) {
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, L"STATIC", u"", WS_POPUP, Rect(0, 0, 10, 10), nullptr, 0));
    const UINT expected[] = {0x0233, 0x004A, 0x0049};
    const struct {
        const char* system;
        ChangeWindowMessageFilterExFn forWindow;
        ChangeWindowMessageFilterFn forProcess;
        HWND filtered;  // the window, or null for the process
        int allowed;
    } systems[] = {
        {"Windows 7 and later: per window", &RecordFilterCall, &RecordProcessFilterCall, window.m_hWnd, 3},
        {"Vista: for the process", nullptr, &RecordProcessFilterCall, nullptr, 3},
        {"before Vista: no filter", nullptr, nullptr, nullptr, 0},
    };
    for (const auto& s : systems) {
        int allowed = -1;
        const std::vector<FilterCall> calls =
            FilterCallsWith(window.m_hWnd, s.forWindow, s.forProcess, &allowed);
        EXPECT_EQ(allowed, s.allowed) << s.system;
        ASSERT_EQ(calls.size(), static_cast<size_t>(s.allowed)) << s.system;
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].hWnd, s.filtered) << s.system;
            EXPECT_EQ(calls[i].message, expected[i]) << s.system;
            EXPECT_EQ(calls[i].action, 1u) << s.system << ": MSGFLT_ALLOW, MSGFLT_ADD";
        }
    }
    // The real functions, as Wine has them.
    EXPECT_NE(SystemMessageFilter().forWindow, nullptr);
    EXPECT_NE(SystemMessageFilter().forProcess, nullptr);
}

}  // namespace
