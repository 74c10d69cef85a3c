// Messages of the layer's loops reach PreTranslateMessage of the bound
// windows they concern, innermost first, in the modal dialog loop and in
// CWinApp::Run, where a modeless dialog also gets its dialog keys; results of
// handlers come back through the message map.
#include <gtest/gtest.h>

#include <string>

#include "test_dialog.h"
#include "wnd/Controls.h"
#include "wnd/Dialog.h"
#include "wnd/WinApp.h"

namespace {

constexpr UINT kForChild = WM_APP + 20;  // the child consumes it
constexpr UINT kPassedOn = WM_APP + 21;  // the child lets it go on
constexpr UINT kResultMessage = WM_APP + 22;

// Appends its tag to a shared trace for every message it is offered.
class TracingEdit : public CEdit {
public:
    std::string* trace = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == kForChild || pMsg->message == kPassedOn) *trace += "child ";
        return pMsg->message == kForChild;
    }
};

class TracingDialog : public CDialog {
public:
    TracingDialog() : CDialog(IDD_TEST_DIALOG) {}
    TracingEdit m_edit;
    std::string trace;
    int childHandled = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == kForChild || pMsg->message == kPassedOn) trace += "dialog ";
        return FALSE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        m_edit.trace = &trace;
        DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::PostMessageA(m_edit, kForChild, 0, 0);
        ::PostMessageA(m_edit, kPassedOn, 0, 0);
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return TRUE;
    }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case WM_NCHITTEST:
                result = HTCAPTION;
                return true;
            case kResultMessage:
                result = 1234;
                return true;
            default:
                return CDialog::ProcessWindowMessage(message, wParam, lParam, result);
        }
    }
};

TEST(PreTranslateTest, TheModalLoopOffersMessagesInnermostFirst) {
    TracingDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    // The consumed one stops at the child; the other goes on outward.
    EXPECT_EQ(dlg.trace, "child child dialog ");
}

TEST(PreTranslateTest, TheApplicationLoopDoesTheSame) {
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, L"STATIC", u"", WS_POPUP, RECT{0, 0, 100, 50}, nullptr, 0));
    TracingEdit edit;
    std::string trace;
    edit.trace = &trace;
    ASSERT_TRUE(edit.Create(WS_CHILD, RECT{0, 0, 50, 20}, &top, 9));
    ::PostMessageA(edit, kForChild, 0, 0);
    ::PostMessageA(edit, kPassedOn, 0, 0);
    ::PostQuitMessage(0);
    CWinApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(trace, "child child ");
}

// A modeless dialog that records how it was ended.
class ModelessDialog : public CDialog {
public:
    ModelessDialog() : CDialog(IDD_TEST_DIALOG) {}
    int endedWith = 0;
    void OnOK() override {
        endedWith = IDOK;
        CDialog::OnOK();
    }
    void OnCancel() override {
        endedWith = IDCANCEL;
        CDialog::OnCancel();
    }
};

TEST(PreTranslateTest, TheApplicationLoopGivesAModelessDialogItsKeys) {
    const struct {
        WPARAM key;
        int endedWith;
    } cases[] = {{VK_ESCAPE, IDCANCEL}, {VK_RETURN, IDOK}};
    for (const auto& c : cases) {
        ModelessDialog dlg;
        ASSERT_TRUE(dlg.Create());
        ::PostMessageW(dlg.GetDlgItem(IDC_TEST_EDIT), WM_KEYDOWN, c.key, 1);
        ::PostQuitMessage(0);
        CWinApp app;
        EXPECT_EQ(app.Run(), 0);
        EXPECT_EQ(dlg.endedWith, c.endedWith) << "key " << c.key;
        EXPECT_EQ(dlg.m_hWnd, nullptr) << "key " << c.key;
    }
}

TEST(PreTranslateTest, AMessageWithoutAWindowIsOfferedToNobody) {
    MSG msg{};
    msg.message = kForChild;
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(&msg));
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(nullptr));
}

TEST(HandlerResultTest, ADialogHandlersResultReachesTheSender) {
    TracingDialog dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(1, 1)), HTCAPTION);
    EXPECT_EQ(dlg.SendMessage(kResultMessage), 1234);
    dlg.DestroyWindow();
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace
