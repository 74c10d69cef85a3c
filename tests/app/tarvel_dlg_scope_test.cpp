// The main dialog's registration in the two scopes and its questions: the
// replace question of the add button and of the self-registration link,
// answered both ways, the unelevated path below HKEY_CURRENT_USER, and the
// window-menu items that open the run-command manager and switch the
// language.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/platform/Elevation_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/runcmd/ReplaceCheck.h"
#include "app/text/QuestionText.h"
#include "app/text/OutcomeText.h"
#include "app/text/ViewText.h"
#include "dialog_harness.h"
#include "res/resource.h"

namespace {

const std::string kAppPaths = N(kAppPathsKey) + "\\";
const char kName[] = "velmora-test-scope";
const char kBoxCaption[] = "温馨提示";

std::string KeyOf(const char* name) { return kAppPaths + name + ".exe"; }

class TarvelDlgScopeTest : public testing::Test {
protected:
    void SetUp() override {
        Clean();
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override {
        dlg.DestroyWindow();
        Clean();
    }
    static void Clean() {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            DeleteTree(root, KeyOf(kName).c_str());
            DeleteTree(root, kAppPathsRunKey);
            DeleteTree(root, (kAppPaths + "velmora-test-group").c_str());
        }
    }

    struct Outcome {
        std::vector<SeenMessageBox> questions;
        std::vector<SeenMessageBox> confirmations;
    };
    // Presses a button with the question answered `answer`.
    Outcome Press(UINT nID, int answer) {
        MessageBoxWatcher question(kReplaceQuestionCaption, answer);
        MessageBoxWatcher confirmation(kBoxCaption);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0);
        return {question.Seen(), confirmation.Seen()};
    }
    void Register(const char* name, const char* path) {
        dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({path})), 0);
        TypeInto(dlg, IDC_EDIT_COMMAND_NAME, velmora::WideFrom936(name));
    }

    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    CTarvelDlg dlg{services};
};

TEST_F(TarvelDlgScopeTest, ReplacingAnotherProgramAsksFirstAndNoWritesNothing) {
    WriteValue(KeyOf(kName).c_str(), "", "C:\\Program Files\\Chrome\\chrome.exe");
    WriteValue(KeyOf(kName).c_str(), "Path", "C:\\Program Files\\Chrome");
    Register(kName, "D:\\Portable\\chrome.exe");

    const Outcome no = Press(IDC_BTN_ADD, IDNO);
    ASSERT_EQ(no.questions.size(), 1u);
    const SeenMessageBox& box = no.questions[0];
    EXPECT_EQ(box.text,
              std::string("命令“") + kName +
                  "”已指向：C:\\Program Files\\Chrome\\chrome.exe\n是否改为：D:\\Portable\\chrome.exe？");
    EXPECT_EQ(box.hOwner, dlg.m_hWnd);
    EXPECT_EQ(box.buttonIds, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(box.defaultButtonId, IDNO) << "No is the default";
    EXPECT_EQ(box.hIcon, ::LoadIconA(nullptr, IDI_QUESTION));
    EXPECT_TRUE(no.confirmations.empty());
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, KeyOf(kName)), "C:\\Program Files\\Chrome\\chrome.exe");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, KeyOf(kName).c_str()));

    const Outcome yes = Press(IDC_BTN_ADD, IDYES);
    EXPECT_EQ(yes.questions.size(), 1u);
    EXPECT_EQ(yes.confirmations.size(), 1u) << "the success box as before";
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, KeyOf(kName)), "D:\\Portable\\chrome.exe");
    std::string path;
    ASSERT_TRUE(ReadValue(KeyOf(kName).c_str(), "Path", &path, nullptr));
    EXPECT_STREQ(path.c_str(), "C:\\Program Files\\Chrome") << "other values stay";
}

TEST_F(TarvelDlgScopeTest, TheSameProgramOrAnEmptyEntryNeedsNoQuestion) {
    const struct {
        const char* existing;
        const char* typed;  // the name as typed
    } cases[] = {
        {"C:\\TOOLS\\ED.EXE", kName},
        {"\"C:\\Tools\\ed.exe\"", kName},
        {"", kName},
        {nullptr, kName},
    };
    for (const auto& c : cases) {
        DeleteTree(KeyOf(kName).c_str());
        if (c.existing != nullptr) WriteValue(KeyOf(kName).c_str(), "", c.existing);
        Register(c.typed, "C:\\Tools\\ed.exe");
        const Outcome outcome = Press(IDC_BTN_ADD, IDNO);
        EXPECT_TRUE(outcome.questions.empty()) << (c.existing ? c.existing : "no key");
        EXPECT_EQ(outcome.confirmations.size(), 1u);
        EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, KeyOf(kName)), "C:\\Tools\\ed.exe");
    }
}

TEST_F(TarvelDlgScopeTest, ANestedNameTypedLooselyStillFindsTheEntryItWouldReplace) {
    WriteValue((kAppPaths + "velmora-test-group\\ed.exe").c_str(), "", "C:\\Other\\ed.exe");
    Register(" velmora-test-group \\\\ ed ", "C:\\Tools\\ed.exe");
    const Outcome outcome = Press(IDC_BTN_ADD, IDNO);
    ASSERT_EQ(outcome.questions.size(), 1u);
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, kAppPaths + "velmora-test-group\\ed.exe"), "C:\\Other\\ed.exe");
}

TEST_F(TarvelDlgScopeTest, TheLinkAsksWhenRunIsAnotherProgramAndStaysOnOfferAfterNo) {
    WriteValue(kAppPathsRunKey, "", "C:\\Other\\run.exe");
    dlg.DestroyWindow();
    ASSERT_TRUE(dlg.Create());
    ASSERT_TRUE(IsControlShown(dlg, IDC_BTN_ADD_SELF));

    const Outcome no = Press(IDC_BTN_ADD_SELF, IDNO);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_EQ(no.questions[0].text, "命令“run”已指向：C:\\Other\\run.exe\n是否改为：" + ModulePath() + "？");
    EXPECT_TRUE(IsControlShown(dlg, IDC_BTN_ADD_SELF)) << "nothing changed: the link is still offered";
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, kAppPathsRunKey), "C:\\Other\\run.exe");

    const Outcome yes = Press(IDC_BTN_ADD_SELF, IDYES);
    EXPECT_EQ(yes.questions.size(), 1u);
    EXPECT_TRUE(yes.confirmations.empty()) << "the link shows no message";
    EXPECT_FALSE(IsControlShown(dlg, IDC_BTN_ADD_SELF));
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, kAppPathsRunKey), ModulePath());
}

TEST_F(TarvelDlgScopeTest, AStandardUserRegistersBelowTheCurrentUserAnAdministratorBelowTheMachine) {
    struct Case {
        bool elevated;
        HKEY written;
        HKEY untouched;
    };
    for (const Case& c : {Case{false, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE},
                          Case{true, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}}) {
        Clean();
        AppServices scoped = ServicesOverScratchKey(kAppPathsKey);
        scoped.rights = RightsFor(c.elevated);
        CTarvelDlg fresh{scoped};
        ASSERT_TRUE(fresh.Create());
        EXPECT_TRUE(IsControlShown(fresh, IDC_BTN_ADD_SELF));
        fresh.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandle({"C:\\Tools\\ed.exe"})), 0);
        TypeInto(fresh, IDC_EDIT_COMMAND_NAME, velmora::WideFrom936(kName));
        {
            MessageBoxWatcher question(kReplaceQuestionCaption, IDNO);
            MessageBoxWatcher confirmation(kBoxCaption);
            fresh.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED), 0);
            fresh.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD_SELF, BN_CLICKED), 0);
            EXPECT_EQ(confirmation.Seen().size(), 1u) << "elevated " << c.elevated;
            EXPECT_TRUE(question.Seen().empty()) << "elevated " << c.elevated;
        }
        fresh.DestroyWindow();
        EXPECT_EQ(DefaultText(c.written, KeyOf(kName)), "C:\\Tools\\ed.exe") << "elevated " << c.elevated;
        EXPECT_EQ(DefaultText(c.written, kAppPathsRunKey), ModulePath()) << "elevated " << c.elevated;
        EXPECT_FALSE(KeyExists(c.untouched, KeyOf(kName).c_str())) << "elevated " << c.elevated;
        EXPECT_FALSE(KeyExists(c.untouched, kAppPathsRunKey)) << "elevated " << c.elevated;

        // The start-up check reads the scope the link writes to.
        CTarvelDlg again{scoped};
        ASSERT_TRUE(again.Create());
        EXPECT_FALSE(IsControlShown(again, IDC_BTN_ADD_SELF)) << "elevated " << c.elevated;
        again.DestroyWindow();
    }
    // Registered for the machine only: a standard user is still offered the link.
    DeleteTree(HKEY_CURRENT_USER, kAppPathsRunKey);
    WriteValue(HKEY_LOCAL_MACHINE, kAppPathsRunKey, "", ModulePath());
    AppServices standardUser = ServicesOverScratchKey(kAppPathsKey);
    standardUser.rights = RightsFor(false);
    CTarvelDlg user{standardUser};
    ASSERT_TRUE(user.Create());
    EXPECT_TRUE(IsControlShown(user, IDC_BTN_ADD_SELF));
    user.DestroyWindow();
}

TEST_F(TarvelDlgScopeTest, AUserEntryThatWouldHideTheMachinesIsAskedAbout) {
    const ScopedElevation standardUser(services, false);
    WriteValue(HKEY_LOCAL_MACHINE, KeyOf(kName).c_str(), "", "C:\\Installed\\app.exe");
    Register(kName, "D:\\Portable\\app.exe");
    const Outcome no = Press(IDC_BTN_ADD, IDNO);
    ASSERT_EQ(no.questions.size(), 1u);
    EXPECT_NE(no.questions[0].text.find("C:\\Installed\\app.exe"), std::string::npos);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, KeyOf(kName).c_str()));

    EXPECT_EQ(Press(IDC_BTN_ADD, IDYES).confirmations.size(), 1u);
    EXPECT_EQ(DefaultText(HKEY_CURRENT_USER, KeyOf(kName)), "D:\\Portable\\app.exe");
    EXPECT_EQ(DefaultText(HKEY_LOCAL_MACHINE, KeyOf(kName)), "C:\\Installed\\app.exe")
        << "the machine's stays";

    // The user's own entry is what the name starts now: the same program
    // again asks nothing.
    EXPECT_TRUE(Press(IDC_BTN_ADD, IDNO).questions.empty());
}

TEST_F(TarvelDlgScopeTest, TheWindowMenuGainsOneItemThatOpensTheManager) {
    CMenuView menu = dlg.GetSystemMenu(FALSE);
    const int count = menu.GetMenuItemCount();
    ASSERT_GT(count, 0);
    EXPECT_EQ(menu.GetMenuItemID(count - 1), static_cast<UINT>(IDM_MANAGE_RUN_COMMANDS));
    char text[64] = {};
    ::GetMenuStringA(menu, IDM_MANAGE_RUN_COMMANDS, text, sizeof(text), MF_BYCOMMAND);
    EXPECT_STREQ(text, "管理运行命令…");
    EXPECT_EQ(IDM_MANAGE_RUN_COMMANDS & 0xF, 0);
    EXPECT_LT(IDM_MANAGE_RUN_COMMANDS, 0xF000);

    // As a menu command (the frame's own menu) and as a system command (the
    // taskbar's): the manager opens, owned by the dialog, modal.
    for (UINT message : {static_cast<UINT>(WM_COMMAND), static_cast<UINT>(WM_SYSCOMMAND)}) {
        MessageBoxWatcher manager(kRunManagerTitle, IDCANCEL);
        dlg.SendMessage(message, IDM_MANAGE_RUN_COMMANDS, 0);
        const std::vector<SeenMessageBox> seen = manager.Seen();
        ASSERT_EQ(seen.size(), 1u) << message;
        EXPECT_EQ(seen[0].hOwner, dlg.m_hWnd) << message;
        EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd)) << "enabled again once the manager closed";
    }

    // The system's default menu has exactly the two items less (no Explorer
    // switch without its services): the language's and the manager's.
    ::GetSystemMenu(dlg.m_hWnd, TRUE);
    EXPECT_EQ(dlg.GetSystemMenu(FALSE).GetMenuItemCount(), count - 2);
}

TEST_F(TarvelDlgScopeTest, TheEnglishItemSwitchesTheLanguageRemembersItAndRetextsTheWindow) {
    const char kSettings[] = "Software\\Velmora";
    std::string before;
    DWORD type = 0;
    const bool had = ReadValue(HKEY_CURRENT_USER, kSettings, "Language", &before, &type);
    struct Restore {
        ~Restore() { velmora::UseLanguage(velmora::Language::kChinese); }
    } restore;
    const auto menuText = [this](UINT id) {
        wchar_t text[64] = {};
        ::GetMenuStringW(dlg.GetSystemMenu(FALSE), id, text, 64, MF_BYCOMMAND);
        return N(velmora::FromWin(text));
    };
    const auto checked = [this] {
        dlg.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(::GetSystemMenu(dlg.m_hWnd, FALSE)), 0);
        return (::GetMenuState(::GetSystemMenu(dlg.m_hWnd, FALSE), IDM_ENGLISH, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    const auto remembered = [&] {
        std::string value;
        return ReadValue(HKEY_CURRENT_USER, kSettings, "Language", &value, &type) ? value.substr(0, value.find('\0'))
                                                                                : std::string("<missing>");
    };
    EXPECT_EQ(menuText(IDM_ENGLISH), "English / 英文");
    EXPECT_FALSE(checked());
    EXPECT_EQ(IDM_ENGLISH & 0xF, 0);

    // Chosen from the taskbar's menu: English, remembered, the window's
    // words in it at once, and a manager opened afterwards in it too.
    dlg.SendMessage(WM_SYSCOMMAND, IDM_ENGLISH, 0);
    EXPECT_EQ(velmora::CurrentLanguage(), velmora::Language::kEnglish);
    EXPECT_EQ(remembered(), "en");
    EXPECT_TRUE(checked());
    EXPECT_EQ(N(dlg.GetWindowText()), "Add run command");
    EXPECT_EQ(N(ControlText(dlg, kCommandNameLabelId)), "Name:");
    EXPECT_EQ(N(ControlText(dlg, kUsageLabelId)).find("Drop a program"), 0u);
    EXPECT_EQ(menuText(IDM_MANAGE_RUN_COMMANDS), "Manage run commands...");
    EXPECT_EQ(menuText(IDM_ENGLISH), "English / 英文");
    {
        MessageBoxWatcher manager("Manage run commands", IDCANCEL);
        dlg.SendMessage(WM_COMMAND, IDM_MANAGE_RUN_COMMANDS, 0);
        EXPECT_EQ(manager.Seen().size(), 1u);
    }

    // And back from the frame's own menu.
    dlg.SendMessage(WM_COMMAND, IDM_ENGLISH, 0);
    EXPECT_EQ(velmora::CurrentLanguage(), velmora::Language::kChinese);
    EXPECT_EQ(remembered(), "zh");
    EXPECT_FALSE(checked());
    EXPECT_EQ(N(dlg.GetWindowText()), "添加运行命令");
    EXPECT_EQ(menuText(IDM_MANAGE_RUN_COMMANDS), "管理运行命令…");

    if (had) {
        WriteValue(HKEY_CURRENT_USER, kSettings, "Language", before.substr(0, before.find('\0')));
    } else {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            ::RegDeleteValueA(hKey, "Language");
            ::RegCloseKey(hKey);
        }
    }
}

TEST(ElevationTest, DetectionGivesAnAnswerAndItsScope) {
    const bool detected = DetectElevation();
    std::printf("this Wine reports the process as %s\n", detected ? "elevated" : "not elevated");
    EXPECT_EQ(RightsFor(true).writeScope, RunScope::kLocalMachine);
    EXPECT_TRUE(RightsFor(true).elevated);
    EXPECT_EQ(RightsFor(false).writeScope, RunScope::kCurrentUser);
    EXPECT_FALSE(RightsFor(false).elevated);
    const RunCommandPlace place = SystemRunCommandPlace();
    EXPECT_EQ(ToHkey(place.RootOf(RunScope::kCurrentUser)), HKEY_CURRENT_USER);
    EXPECT_EQ(ToHkey(place.RootOf(RunScope::kLocalMachine)), HKEY_LOCAL_MACHINE);
}

}  // namespace
