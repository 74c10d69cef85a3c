// The launchers' processes under Wine, where a script cannot look: the
// console launcher's program ends when the launcher is ended (the job), and
// the windows launcher returns while its program runs, a program that never
// had a console. Each test copies a launcher as NAME.exe into a scratch
// folder (any folder but the machine's is the user's) and registers NAME
// below the real HKEY_CURRENT_USER App Paths for its own time only.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/launcher/program/LaunchRules.h"
#include "base/win32_handles.h"

namespace {

using velmora::OwnedKernelHandle;
using velmora::launcher::kLauncherAppPathsKey;
using velmora::launcher::kLauncherFailureExitCode;

// Long enough for Wine on a busy machine to start a process; a safety net,
// never a measure.
constexpr DWORD kPatienceMs = 60000;

std::wstring Wide(const char16_t* text) { return std::wstring(text, text + std::char_traits<char16_t>::length(text)); }

// A file of the build as Windows reaches it.
std::wstring BuildFile(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c != 0; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

std::wstring ProcessTag() { return std::to_wstring(::GetCurrentProcessId()); }

// A folder below %TEMP% of the test's own, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& purpose) {
        wchar_t temp[MAX_PATH + 1];
        const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
        m_path = std::wstring(temp, length) + L"velmora-launcher-" + purpose + L"-" + ProcessTag();
        Remove();
        ::CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~ScratchFolder() { Remove(); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    void Remove() {
        WIN32_FIND_DATAW found;
        const velmora::OwnedFindFile find(::FindFirstFileW((m_path + L"\\*").c_str(), &found));
        if (find) {
            do {
                ::DeleteFileW((m_path + L"\\" + found.cFileName).c_str());
            } while (::FindNextFileW(find.Get(), &found));
        }
        ::RemoveDirectoryW(m_path.c_str());
    }

    std::wstring m_path;
};

// Run command `name` of the current user, starting `program`, for the
// owner's lifetime.
class UserRunCommand {
public:
    UserRunCommand(const std::wstring& name, const std::wstring& program)
        : m_key(Wide(kLauncherAppPathsKey) + L"\\" + name + L".exe") {
        HKEY created = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                                    nullptr),
                  ERROR_SUCCESS);
        const velmora::OwnedRegKey key(created);
        EXPECT_EQ(::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                                   static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    ~UserRunCommand() { ::RegDeleteKeyW(HKEY_CURRENT_USER, m_key.c_str()); }
    UserRunCommand(const UserRunCommand&) = delete;
    UserRunCommand& operator=(const UserRunCommand&) = delete;

private:
    std::wstring m_key;
};

// An environment variable of this process (which the launchers inherit),
// given back when the owner goes.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const std::wstring& value) : m_name(name) {
        wchar_t old[4096];
        const DWORD length = ::GetEnvironmentVariableW(name, old, 4096);
        m_had = length > 0 && length < 4096;
        if (m_had) m_old.assign(old, length);
        ::SetEnvironmentVariableW(name, value.c_str());
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(m_name, m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* m_name;
    std::wstring m_old;
    bool m_had = false;
};

// A process of the test: ended when the owner goes, if it still runs.
class TestProcess {
public:
    explicit TestProcess(HANDLE process) : m_process(process) {}
    ~TestProcess() {
        if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.Get(), 1);
    }
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;
    HANDLE Get() const { return m_process.Get(); }
    explicit operator bool() const { return static_cast<bool>(m_process); }

private:
    OwnedKernelHandle m_process;
};

// Starts `program` with `arguments`, sharing no handles; null when it
// cannot be started.
HANDLE Start(const std::wstring& program, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started))
        return nullptr;
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

// The text of a file that another process writes whole (under another name,
// then renamed), once it is there.
std::string WaitForFile(const std::wstring& path) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
        const velmora::OwnedFile file(
            ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (file) {
            char buffer[256];
            DWORD read = 0;
            if (::ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) return std::string(buffer, read);
        }
        ::Sleep(50);
    }
    return {};
}

// The process whose id a report starts with, for waiting on and ending.
TestProcess OpenReported(const std::string& report) {
    const DWORD pid = static_cast<DWORD>(std::strtoul(report.c_str(), nullptr, 10));
    return TestProcess(pid == 0 ? nullptr : ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
}

TEST(LauncherProcessTest, EndingTheConsoleLauncherEndsItsProgram) {
    const ScratchFolder folder(L"job");
    const std::wstring name = L"velmora-launcher-job-" + ProcessTag();
    const std::wstring launcher = folder / (name + L".exe");
    const std::wstring program = folder / L"sleeper.exe";
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_LAUNCHER_CONSOLE_EXE).c_str(), launcher.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_ECHO_ARGS_EXE).c_str(), program.c_str(), FALSE));
    const UserRunCommand entry(name, program);
    const std::wstring pidFile = folder / L"pid.txt";
    const ScopedVariable sleep(L"VELMORA_ECHO_PID_FILE", pidFile);

    const TestProcess process(Start(launcher, L""));
    ASSERT_TRUE(process);
    const TestProcess child = OpenReported(WaitForFile(pidFile));
    ASSERT_TRUE(child) << "the program never said it runs";
    ASSERT_EQ(::WaitForSingleObject(child.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "it ended by itself";
    ASSERT_EQ(::WaitForSingleObject(process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the launcher did not wait";

    ASSERT_TRUE(::TerminateProcess(process.Get(), 1));
    ASSERT_EQ(::WaitForSingleObject(process.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(::WaitForSingleObject(child.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0))
        << "the program outlived its launcher";
}

// What the program leaves running when it ends by itself (here cmd's
// `start`) lives on after the launcher, as it would after the program
// started directly.
TEST(LauncherProcessTest, WhatTheProgramStartedOutlivesALauncherThatEndsNormally) {
    const ScratchFolder folder(L"leave");
    const std::wstring name = L"velmora-launcher-leave-" + ProcessTag();
    const std::wstring launcher = folder / (name + L".exe");
    const std::wstring sleeper = folder / L"sleeper.exe";
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_LAUNCHER_CONSOLE_EXE).c_str(), launcher.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_ECHO_ARGS_EXE).c_str(), sleeper.c_str(), FALSE));
    wchar_t system[MAX_PATH];
    const UINT systemLength = ::GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(systemLength, 0u);
    const UserRunCommand entry(name, std::wstring(system, systemLength) + L"\\cmd.exe");
    const std::wstring pidFile = folder / L"pid.txt";
    const ScopedVariable sleep(L"VELMORA_ECHO_PID_FILE", pidFile);

    const TestProcess process(Start(launcher, L"/c start \"\" /b \"" + sleeper + L"\""));
    ASSERT_TRUE(process);
    ASSERT_EQ(::WaitForSingleObject(process.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
    const TestProcess started = OpenReported(WaitForFile(pidFile));
    ASSERT_TRUE(started) << "what cmd started did not run";
    EXPECT_EQ(::WaitForSingleObject(started.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "what cmd started ended with the launcher";
}

TEST(LauncherProcessTest, TheWindowsLauncherReturnsWhileItsProgramRunsWithoutAConsole) {
    const ScratchFolder folder(L"gui");
    const std::wstring name = L"velmora-launcher-gui-" + ProcessTag();
    const std::wstring launcher = folder / (name + L".exe");
    const std::wstring program = folder / L"gui target.exe";
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_LAUNCHER_WINDOWS_EXE).c_str(), launcher.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(BuildFile(VELMORA_LAUNCHER_GUI_TARGET_EXE).c_str(), program.c_str(), FALSE));
    const UserRunCommand entry(name, program);
    const std::wstring report = folder / L"report.txt";

    const TestProcess process(Start(launcher, L"\"" + report + L"\""));
    ASSERT_TRUE(process);
    ASSERT_EQ(::WaitForSingleObject(process.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);

    const std::string seen = WaitForFile(report);
    const TestProcess child = OpenReported(seen);
    ASSERT_TRUE(child) << "the program never reported: " << seen;
    EXPECT_EQ(::WaitForSingleObject(child.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the program ended before the test ended it";
    EXPECT_NE(seen.find(" console=0 "), std::string::npos) << seen;

    // Standard handles: none that the program would not have had started
    // directly with none given (Windows gives it none; Wine gives every
    // program handles to its own standard streams).
    const std::wstring directReport = folder / L"direct.txt";
    const TestProcess direct(Start(program, L"\"" + directReport + L"\""));
    ASSERT_TRUE(direct);
    const std::string directly = WaitForFile(directReport);
    const TestProcess directChild = OpenReported(directly);
    ASSERT_NE(directly.find(' '), std::string::npos) << directly;
    EXPECT_EQ(seen.substr(seen.find(' ')), directly.substr(directly.find(' ')));
}

// The whole exit code, which the scripts only see through cmd: both
// launchers, a command with no entry and one whose program is gone.
TEST(LauncherProcessTest, ACommandThatCannotStartExitsWith9009) {
    const ScratchFolder folder(L"fail");
    const std::wstring name = L"velmora-launcher-fail-" + ProcessTag();
    for (const char* built : {VELMORA_LAUNCHER_CONSOLE_EXE, VELMORA_LAUNCHER_WINDOWS_EXE}) {
        const std::wstring launcher = folder / (name + L".exe");
        ASSERT_TRUE(::CopyFileW(BuildFile(built).c_str(), launcher.c_str(), FALSE));
        for (const bool registered : {false, true}) {
            std::optional<UserRunCommand> entry;
            if (registered) entry.emplace(name, folder / L"gone.exe");
            const TestProcess process(Start(launcher, L"a b"));
            ASSERT_TRUE(process);
            EXPECT_EQ(::WaitForSingleObject(process.Get(), kPatienceMs), static_cast<DWORD>(WAIT_OBJECT_0));
            DWORD exitCode = 0;
            ::GetExitCodeProcess(process.Get(), &exitCode);
            EXPECT_EQ(exitCode, kLauncherFailureExitCode) << built << (registered ? ", program gone" : ", no entry");
        }
    }
}

}  // namespace
