// The console twin and the windows over one registry, under Wine: a command
// added by Velmora.com shows in the manager, and one added in the main
// window shows in `velmora list`. Both work on the real App Paths keys (the
// console program has no other), with names of their own that are removed
// before and after.
#include <gtest/gtest.h>

#include <string>

#include "dialog_harness.h"

namespace {

const CStringW kFromConsole = u"velmora-test-twin-console";
const CStringW kFromWindow = u"velmora-test-twin-window";

// The build's path as Windows spells it: backslashes.
CStringW WindowsPath(CStringW path) {
    for (char16_t& ch : path) {
        if (ch == u'/') ch = u'\\';
    }
    return path;
}

CStringW KeyOf(const CStringW& name) { return CStringW(kAppPathsKey) + u"\\" + name + u".exe"; }

// Runs Velmora.com with `arguments`, its standard output read from a pipe.
// Returns its exit code, or -1 when it could not be started.
int RunConsoleTwin(const CStringW& arguments, std::string* pOutput) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE hRead = nullptr;
    HANDLE hWrite = nullptr;
    if (!::CreatePipe(&hRead, &hWrite, &inherit, 0)) return -1;
    ::SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    startup.hStdError = hWrite;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    CStringW commandLine = u"\"Z:" + W(VELMORA_CONSOLE_EXE) + u"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(nullptr, velmora::WinBuffer(commandLine.data()), nullptr, nullptr, TRUE,
                                          CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process);
    ::CloseHandle(hWrite);
    if (!started) {
        ::CloseHandle(hRead);
        return -1;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(hRead, buffer, sizeof(buffer), &read, nullptr) && read > 0) pOutput->append(buffer, read);
    ::CloseHandle(hRead);
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}

// UTF-16 text as the UTF-8 bytes the console twin writes into a pipe.
std::string Utf8(const char16_t* text) {
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(text);
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), bytes, nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

class ConsoleTwinTest : public testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        for (const CStringW& name : {kFromConsole, kFromWindow}) {
            DeleteTree(HKEY_LOCAL_MACHINE, KeyOf(name).c_str());
            DeleteTree(HKEY_CURRENT_USER, KeyOf(name).c_str());
        }
    }

    // The tool counts as elevated here, and Wine's user is an administrator:
    // both programs write the machine's entries.
    AppServices services = ServicesOverScratchKey(kAppPathsKey);
    const CStringW program = WindowsPath(u"Z:" + W(VELMORA_MARKER_EXE));
};

TEST_F(ConsoleTwinTest, AddedOnTheCommandLineShowsInTheManager) {
    std::string output;
    ASSERT_EQ(RunConsoleTwin(u"add " + kFromConsole + u" \"" + program + u"\"", &output), 0) << output;

    CRunManagerDlg manager(services);
    ASSERT_TRUE(manager.Create());
    TypeInto(manager, IDC_RUN_FILTER, kFromConsole);
    ASSERT_EQ(manager.ShownEntries().size(), 1u);
    EXPECT_EQ(manager.ShownEntries()[0].command, kFromConsole);
    EXPECT_EQ(manager.ShownEntries()[0].scope, RunScope::kLocalMachine);
    EXPECT_EQ(manager.ShownEntries()[0].target.CompareNoCase(program), 0) << N(manager.ShownEntries()[0].target);
    EXPECT_EQ(CommandList(manager).GetItemText(0, 0), kFromConsole);
    manager.DestroyWindow();
}

TEST_F(ConsoleTwinTest, AddedInTheMainWindowShowsInTheList) {
    CTarvelDlg dlg(services);
    ASSERT_TRUE(dlg.Create());
    dlg.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropHandleW({program})), 0);
    TypeInto(dlg, IDC_EDIT_COMMAND_NAME, kFromWindow);
    {
        MessageBoxWatcher watcher("温馨提示");
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BTN_ADD, BN_CLICKED), 0);
    }
    dlg.DestroyWindow();

    std::string output;
    ASSERT_EQ(RunConsoleTwin(u"list " + kFromWindow + u" --json", &output), 0) << output;
    EXPECT_NE(output.find("\"name\":\"" + N(kFromWindow) + "\""), std::string::npos) << output;
    EXPECT_NE(output.find("\"scope\":\"machine\""), std::string::npos) << output;
}

// The console's language: --lang over VELMORA_LANG over the remembered
// choice, Chinese without any; the exit code is the same in both. The output
// comes through a pipe as UTF-8.
TEST_F(ConsoleTwinTest, SpeaksTheLanguageItIsToldAndChineseOtherwise) {
    struct Row {
        const char16_t* arguments;
        const wchar_t* variable;  // VELMORA_LANG, or none
        const wchar_t* remembered;  // HKCU\Software\Velmora "Language", or none
        int code;
        const char16_t* text;
    } const rows[] = {
        {u"--help --lang en", nullptr, nullptr, 0, u"Usage: velmora VERB"},
        {u"--help", nullptr, nullptr, 0, u"用法：velmora VERB"},
        {u"frob --lang en", nullptr, nullptr, 2, u"velmora: Unknown verb: frob"},
        {u"frob", nullptr, nullptr, 2, u"velmora: 未知的命令：frob"},
        {u"frob", L"en", nullptr, 2, u"Unknown verb: frob"},
        {u"frob --lang zh", L"en", nullptr, 2, u"未知的命令：frob"},
        {u"frob", nullptr, L"en", 2, u"Unknown verb: frob"},
        {u"frob", L"zh", L"en", 2, u"未知的命令：frob"},
    };
    constexpr wchar_t kSettings[] = L"Software\\Velmora";
    for (const Row& row : rows) {
        SCOPED_TRACE(N(row.arguments));
        ::SetEnvironmentVariableW(L"VELMORA_LANG", row.variable);
        if (row.remembered != nullptr) {
            ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kSettings, L"Language", REG_SZ, row.remembered,
                                        static_cast<DWORD>((::lstrlenW(row.remembered) + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
        std::string output;
        const int code = RunConsoleTwin(row.arguments, &output);
        if (row.remembered != nullptr) ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kSettings, L"Language");
        ::SetEnvironmentVariableW(L"VELMORA_LANG", nullptr);
        EXPECT_EQ(code, row.code) << output;
        EXPECT_NE(output.find(Utf8(row.text)), std::string::npos) << output;
    }
}

}  // namespace
