// Velmora.com: the console twin of the tool. Reads its arguments as UTF-16,
// runs the verb over the system's registry and writes to the console in
// UTF-16 (WriteConsoleW), or as UTF-8 bytes when the output is redirected to
// a file or a pipe. Data goes to standard output, messages about failures
// to standard error; the exit code tells what happened (CliExitCode.h).
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "VelmoraVersion.h"
#include "app/cli/CliArguments.h"
#include "app/cli/CliVerbs.h"
#include "app/cli/JsonText.h"
#include "app/platform/Elevation_win32.h"
#include "app/platform/LauncherFiles_win32.h"
#include "app/platform/ShellUser_win32.h"
#include "app/platform/Shortcuts_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/platform/WholeFile_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/runcmd/RunCommandBackup.h"
#include "app/text/LanguageChoice.h"
#include "base/system_library_win32.h"
#include "base/win32_handles.h"

namespace {

// One standard stream: a console is written in UTF-16, anything else gets
// UTF-8 bytes.
class StandardStream {
public:
    explicit StandardStream(DWORD which) : m_handle(::GetStdHandle(which)) {
        DWORD mode = 0;
        m_console =
            m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(m_handle, &mode);
    }
    void Write(const CStringW& text) const {
        if (m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE || text.empty()) return;
        if (m_console) {
            // WriteConsoleW takes at most a few thousand units at once on old systems.
            constexpr std::size_t kChunk = 8192;
            for (std::size_t done = 0; done < text.size();) {
                DWORD count = static_cast<DWORD>(std::min(kChunk, text.size() - done));
                // Never split a surrogate pair between two writes.
                if (done + count < text.size() && text[done + count - 1] >= 0xD800 &&
                    text[done + count - 1] <= 0xDBFF)
                    --count;
                DWORD written = 0;
                if (!::WriteConsoleW(m_handle, text.data() + done, count, &written, nullptr) || written == 0)
                    return;
                done += written;
            }
            return;
        }
        const std::string bytes = Utf8FromUtf16(text);
        for (std::size_t done = 0; done < bytes.size();) {
            DWORD written = 0;
            if (!::WriteFile(m_handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                             nullptr) ||
                written == 0)
                return;
            done += written;
        }
    }

private:
    HANDLE m_handle;  // the process's own; never closed
    bool m_console = false;
};

class ConsoleOutput final : public CliOutput {
public:
    void Out(const CStringW& text) override { m_out.Write(text); }
    void Err(const CStringW& text) override { m_err.Write(text); }

private:
    StandardStream m_out{STD_OUTPUT_HANDLE};
    StandardStream m_err{STD_ERROR_HANDLE};
};

std::vector<CStringW> ArgumentsAfterProgram() {
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    const velmora::OwnedLocalMemory owner(reinterpret_cast<HLOCAL>(argv));
    std::vector<CStringW> args;
    for (int i = 1; argv != nullptr && i < count; ++i) args.push_back(velmora::FromWin(argv[i]));
    return args;
}

CStringW VersionText() { return u"" VELMORA_VERSION_TEXT; }

// VELMORA_LANG as narrow text, when it is set and plain ASCII.
std::optional<std::string> LanguageVariable() {
    wchar_t value[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"VELMORA_LANG", value, 32);
    if (length == 0 || length >= 32) return std::nullopt;
    std::string name;
    for (DWORD i = 0; i < length; ++i) {
        if (value[i] < 0x20 || value[i] > 0x7E) return std::nullopt;
        name += static_cast<char>(value[i]);
    }
    return name;
}

}  // namespace

int main() {
    velmora::LoadDllsFromSystemOnly();
    CWin32Registry registry;
    // The language first: every line, even a refusal of the arguments, reads in it.
    const std::vector<CStringW> args = ArgumentsAfterProgram();
    const std::optional<std::string> variable = LanguageVariable();
    const std::optional<std::string> remembered =
        RememberedLanguageName(registry, ToRegKey(HKEY_CURRENT_USER));
    velmora::UseLanguage(CliLanguage(args, variable, remembered));
    CliServices services;
    services.registry = &registry;
    services.place = SystemRunCommandPlace();
    services.elevated = DetectElevation();
    services.targetExists = &TargetFileExists;
    services.fullPath = &FullPathOf;
    services.programExists = &IsExistingFile;
    services.readFile = [](const CStringW& file, std::vector<unsigned char>* pData) {
        return ReadWholeFile(file, kLargestBackupBytes, *pData) == ERROR_SUCCESS;
    };
    services.listFolder = [](const CStringW& folder, std::vector<CStringW>* pNames) {
        WIN32_FIND_DATAW found{};
        const CStringW pattern = folder + u"\\*";
        const velmora::OwnedFindFile search(::FindFirstFileW(velmora::WinText(pattern), &found));
        if (!search) return false;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                pNames->push_back(velmora::FromWin(found.cFileName));
        } while (::FindNextFileW(search.Get(), &found));
        return true;
    };
    services.writeFile = [](const CStringW& file, const std::vector<unsigned char>& data) {
        return WriteWholeFile(file, data) == ERROR_SUCCESS;
    };
    services.version = VersionText();
    Win32LauncherFiles launcherFiles;
    services.launcherFiles = &launcherFiles;
    Win32ShortcutFiles shortcutFiles;
    ExplorerIntegration explorer(registry, ToRegKey(HKEY_CURRENT_USER), shortcutFiles);
    services.explorer = &explorer;
    services.windowProgram = WindowProgramBeside(RunningProgramPath());
    services.runsAsShellUser = RunsAsShellUser();
    ConsoleOutput output;
    return static_cast<int>(RunCli(args, services, output));
}
