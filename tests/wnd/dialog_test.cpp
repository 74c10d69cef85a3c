// CDialog under Wine: the modal loop, control binding, default OK and Cancel,
// messages offered to PreTranslateMessage, and the modeless variant.
#include "wnd/Dialog.h"

#include <gtest/gtest.h>

#include "test_dialog.h"
#include "wnd/Controls.h"

namespace {

constexpr UINT kSwallowedMessage = WM_APP + 10;
constexpr UINT kDeliveredMessage = WM_APP + 11;

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_DIALOG) {}

    CEdit m_edit;
    CButton m_okButton;
    bool initialised = false;
    bool controlsBoundInInit = false;
    int swallowedHandled = 0;
    int deliveredHandled = 0;
    int preTranslated = 0;
    // What OnInitDialog posts to itself to end the dialog.
    UINT closingCommand = IDCANCEL;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == kSwallowedMessage || pMsg->message == kDeliveredMessage) ++preTranslated;
        return pMsg->message == kSwallowedMessage;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_TEST_EDIT, m_edit);
        DDX_Control(pDX, IDOK, m_okButton);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        initialised = true;
        controlsBoundInInit = CWnd::FromHandlePermanent(GetDlgItem(IDC_TEST_EDIT)) == &m_edit &&
                              CWnd::FromHandlePermanent(GetDlgItem(IDOK)) == &m_okButton;
        PostMessage(kSwallowedMessage);
        PostMessage(kDeliveredMessage);
        PostMessage(WM_COMMAND, MAKEWPARAM(closingCommand, BN_CLICKED), 0);
        return TRUE;
    }
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        switch (message) {
            case kSwallowedMessage:
                ++swallowedHandled;
                return true;
            case kDeliveredMessage:
                ++deliveredHandled;
                return true;
            default:
                return CDialog::ProcessWindowMessage(message, wParam, lParam, result);
        }
    }
};

TEST(ModalDialogTest, RunsBindsControlsAndEndsWithCancel) {
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(dlg.initialised);
    EXPECT_TRUE(dlg.controlsBoundInInit);
    EXPECT_EQ(dlg.m_hWnd, nullptr) << "unbound once the window is gone";
    EXPECT_EQ(dlg.m_edit.m_hWnd, nullptr);
}

TEST(ModalDialogTest, OkEndsWithOk) {
    TestDialog dlg;
    dlg.closingCommand = IDOK;
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

TEST(ModalDialogTest, LoopMessagesPassPreTranslateMessageFirst) {
    TestDialog dlg;
    dlg.DoModal();
    EXPECT_EQ(dlg.preTranslated, 2);
    EXPECT_EQ(dlg.swallowedHandled, 0) << "consumed by PreTranslateMessage";
    EXPECT_EQ(dlg.deliveredHandled, 1);
}

TEST(ModalDialogTest, AMissingTemplateFails) {
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(ModelessDialogTest, CreateAndEnd) {
    TestDialog dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.initialised);
    HWND hWnd = dlg.m_hWnd;
    EXPECT_FALSE(dlg.Create()) << "already created";
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    // Drain what OnInitDialog posted to the destroyed window.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}

}  // namespace
