// The terminal launcher: a copy named NAME.exe in a folder on PATH starts the
// program of run command NAME with the arguments it was given, so that a run
// command works in cmd and PowerShell as it does in the Run box. Nothing is
// stored in the launcher: at every start it reads the command's App Paths
// entry (the machine's when it lies in %ProgramData%\Velmora\bin, else the
// current user's), so that a changed entry takes effect at the next start.
//
// One source, two programs. The console launcher (VelmoraLauncher.exe) shares its
// console and standard handles with the program, leaves Ctrl+C and
// Ctrl+Break to it, waits for it and exits with its exit code; the program
// runs in a job that ends it when the launcher is ended. The windows
// launcher (VelmoraLauncherW.exe, VELMORA_LAUNCHER_WINDOWS) has no console: it starts
// the program and exits at once with 0. Both exit with kLauncherFailureExitCode
// when the command cannot be started; only the console one says why, in one
// line on standard error.
//
// A command with options (RunCommandOptionNames.h) keeps its real program in
// a value of its own; the launcher applies the options at every start: the
// preset arguments around what was typed, the working folder, the variables
// and, asked for, the administrator's rights. A copy in the options folder
// is what the Run box starts through the entry's default value; the windows
// one there shows what kept the command from starting in a message box.
//
// No C or C++ runtime is linked: the entry point is LauncherEntry, and memory
// comes from LocalAlloc.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "app/launcher/program/LaunchRules.h"
#include "app/runcmd/RunCommandOptionNames.h"
#include "base/system_library_win32.h"
#include "base/win32_handles.h"

namespace {

using velmora::launcher::kLauncherFailureExitCode;

// The option values' names as the registry functions take them.
const wchar_t* const kOptionProgramValue16 = reinterpret_cast<const wchar_t*>(kOptionProgramValue);
const wchar_t* const kOptionArgumentsValue16 = reinterpret_cast<const wchar_t*>(kOptionArgumentsValue);
const wchar_t* const kOptionFolderValue16 = reinterpret_cast<const wchar_t*>(kOptionFolderValue);
const wchar_t* const kOptionEnvironmentValue16 = reinterpret_cast<const wchar_t*>(kOptionEnvironmentValue);
const wchar_t* const kOptionAdministratorValue16 =
    reinterpret_cast<const wchar_t*>(kOptionAdministratorValue);
using velmora::launcher::LaunchProblem;
using velmora::launcher::TextPiece;

// wchar_t is 16 bits wide on Windows; the rules take char16_t.
const char16_t* Utf16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

// A NUL-terminated text in memory of its own.
class OwnedText {
public:
    // Room for `units` code units, terminating NUL included; what was held
    // before is gone.
    bool Reserve(size_t units) {
        m_memory.Attach(::LocalAlloc(LMEM_FIXED, units * sizeof(wchar_t)));
        m_capacity = m_memory ? units : 0;
        m_length = 0;
        if (m_memory) Data()[0] = 0;
        return static_cast<bool>(m_memory);
    }
    wchar_t* Data() const { return static_cast<wchar_t*>(m_memory.Get()); }
    char16_t* Data16() const { return reinterpret_cast<char16_t*>(Data()); }
    size_t Capacity() const { return m_capacity; }
    size_t Length() const { return m_length; }
    // Ends the text after `length` units (less than Capacity()).
    void SetLength(size_t length) {
        m_length = length;
        Data()[length] = 0;
    }
    bool Empty() const { return m_length == 0; }

private:
    velmora::OwnedLocalMemory m_memory;
    size_t m_capacity = 0;
    size_t m_length = 0;
};

// Runs one of the rules' builders twice: once for the size, then into
// memory of that size.
template <typename Build>
bool Compose(OwnedText& out, Build build) {
    const size_t needed = build(nullptr, 0);
    if (!out.Reserve(needed)) return false;
    if (build(out.Data16(), out.Capacity()) != needed) return false;
    out.SetLength(needed - 1);
    return true;
}

bool CopyText(OwnedText& out, const wchar_t* text, size_t length) {
    if (!out.Reserve(length + 1)) return false;
    for (size_t i = 0; i < length; ++i) out.Data()[i] = text[i];
    out.SetLength(length);
    return true;
}

bool ModulePath(OwnedText& out) {
    for (DWORD capacity = MAX_PATH; capacity <= 65536; capacity *= 2) {
        if (!out.Reserve(capacity)) return false;
        const DWORD length = ::GetModuleFileNameW(nullptr, out.Data(), capacity);
        if (length == 0) return false;
        if (length < capacity) {
            out.SetLength(length);
            return true;
        }
    }
    return false;
}

// An environment variable; an empty text when it is not set.
bool EnvironmentValue(const wchar_t* name, OwnedText& out) {
    DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!out.Reserve(needed == 0 ? 1 : needed)) return false;
        if (needed == 0) return true;
        const DWORD length = ::GetEnvironmentVariableW(name, out.Data(), needed);
        if (length < needed) {
            out.SetLength(length);
            return true;
        }
        needed = length;  // it grew meanwhile
    }
    return false;
}

bool ExpandEnvironment(const wchar_t* text, OwnedText& out) {
    DWORD needed = ::ExpandEnvironmentStringsW(text, nullptr, 0);
    for (int attempt = 0; attempt < 4 && needed != 0; ++attempt) {
        if (!out.Reserve(needed)) return false;
        const DWORD written = ::ExpandEnvironmentStringsW(text, out.Data(), needed);
        if (written == 0) return false;
        if (written <= needed) {
            out.SetLength(written - 1);
            return true;
        }
        needed = written;
    }
    return false;
}

// Value `name` of `key` as UTF-16 units, with its type; a NUL follows the
// units read. False when the value is missing or unreadable.
bool ReadValueUnits(HKEY key, const wchar_t* name, DWORD* pType, OwnedText& out) {
    DWORD bytes = 0;
    LONG status = ::RegQueryValueExW(key, name, nullptr, pType, nullptr, &bytes);
    for (int attempt = 0; attempt < 4 && status == ERROR_SUCCESS; ++attempt) {
        // One unit more than the value holds, for a NUL it may lack.
        const size_t units = (bytes + 1) / sizeof(wchar_t) + 1;
        if (!out.Reserve(units)) return false;
        DWORD read = static_cast<DWORD>((units - 1) * sizeof(wchar_t));
        status = ::RegQueryValueExW(key, name, nullptr, pType, reinterpret_cast<BYTE*>(out.Data()), &read);
        if (status == ERROR_MORE_DATA) {
            bytes = read;  // it grew meanwhile
            status = ERROR_SUCCESS;
            continue;
        }
        if (status != ERROR_SUCCESS) return false;
        const size_t length = read / sizeof(wchar_t);
        if (length > units - 1) return false;
        out.SetLength(length);
        return true;
    }
    return false;
}

// A REG_SZ or REG_EXPAND_SZ value of `key` up to its first NUL, a
// REG_EXPAND_SZ one expanded unless `expand` is false. False when the value
// is missing, of another type or unreadable.
bool ReadTextValue(HKEY key, const wchar_t* name, OwnedText& out, bool expand = true) {
    DWORD type = 0;
    if (!ReadValueUnits(key, name, &type, out) || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    for (size_t i = 0; i < out.Length(); ++i)
        if (out.Data()[i] == 0) {
            out.SetLength(i);
            break;
        }
    if (type == REG_SZ || !expand) return true;
    OwnedText expanded;
    if (!ExpandEnvironment(out.Data(), expanded)) return false;
    return CopyText(out, expanded.Data(), expanded.Length());
}

// A REG_DWORD value that is there and not zero.
bool ReadFlagValue(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD bytes = sizeof value;
    return ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && bytes == sizeof value && value != 0;
}

// Sets each NAME=VALUE of a REG_MULTI_SZ value for the program, its value
// expanded (so one may use what an earlier one set). Texts without a name
// are passed over.
void SetVariables(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    OwnedText block;
    if (!ReadValueUnits(key, name, &type, block) || type != REG_MULTI_SZ) return;
    const wchar_t* text = block.Data();
    const size_t length = block.Length();
    for (size_t at = 0; at < length;) {
        size_t end = at;
        while (end < length && text[end] != 0) ++end;
        size_t equals = at + 1;
        while (equals < end && text[equals] != L'=') ++equals;
        OwnedText variable;
        OwnedText value;
        if (equals < end && CopyText(variable, text + at, equals - at) &&
            CopyText(value, text + equals + 1, end - equals - 1)) {
            OwnedText expanded;
            ::SetEnvironmentVariableW(
                variable.Data(), ExpandEnvironment(value.Data(), expanded) ? expanded.Data() : value.Data());
        }
        at = end + 1;
    }
}

#ifndef VELMORA_LAUNCHER_WINDOWS
// Writes the line on standard error: UTF-16 to a console, UTF-8 bytes to a
// file or a pipe.
void WriteError(const OwnedText& line) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE || line.Empty()) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(error, &mode)) {
        ::WriteConsoleW(error, line.Data(), static_cast<DWORD>(line.Length()), &written, nullptr);
        return;
    }
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.Data(), static_cast<int>(line.Length()), nullptr,
                                            0, nullptr, nullptr);
    if (bytes <= 0) return;
    velmora::OwnedLocalMemory memory(::LocalAlloc(LMEM_FIXED, static_cast<SIZE_T>(bytes)));
    if (!memory) return;
    char* utf8 = static_cast<char*>(memory.Get());
    ::WideCharToMultiByte(CP_UTF8, 0, line.Data(), static_cast<int>(line.Length()), utf8, bytes, nullptr,
                          nullptr);
    ::WriteFile(error, utf8, static_cast<DWORD>(bytes), &written, nullptr);
}
#endif

#ifdef VELMORA_LAUNCHER_WINDOWS
// Whether the windows launcher tells of a problem in a message box: only a
// copy the Run box starts (in the options folder), whose user would
// otherwise see nothing happen.
bool g_showProblems = false;

// Shows the line in a message box; user32 is loaded only for that.
void ShowProblem(const OwnedText& line) {
    const HMODULE user32 = velmora::LoadKnownSystemLibrary(L"user32.dll");
    if (user32 == nullptr) return;
    using MessageBoxFunction = int(WINAPI*)(HWND, const wchar_t*, const wchar_t*, UINT);
    const auto show = reinterpret_cast<MessageBoxFunction>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxW")));
    if (show != nullptr) show(nullptr, line.Data(), L"Velmora", MB_OK | MB_ICONERROR);
    ::FreeLibrary(user32);
}
#endif

// Whether the user chose English (the window menu remembers it): read with
// advapi32, which the launcher imports anyway.
bool UserChoseEnglish() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER,
                        reinterpret_cast<const wchar_t*>(velmora::launcher::kLauncherLanguageKey), 0,
                        KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return false;
    const velmora::OwnedRegKey key(opened);
    OwnedText name;
    return ReadTextValue(key.Get(),
                         reinterpret_cast<const wchar_t*>(velmora::launcher::kLauncherLanguageValue), name,
                         false) &&
           velmora::launcher::IsEnglishName(name.Data16(), name.Length());
}

// Says what kept the command from starting (the console launcher on
// standard error, the windows one in the options folder in a message box)
// and gives the exit code for it: ERROR_CANCELLED for a declined prompt,
// kLauncherFailureExitCode for everything else.
unsigned Problem(LaunchProblem problem, const wchar_t* name, size_t nameLength, const wchar_t* path = L"",
                 size_t pathLength = 0, DWORD error = 0) {
    const unsigned exitCode =
        problem == LaunchProblem::kDeclined ? ERROR_CANCELLED : kLauncherFailureExitCode;
#ifdef VELMORA_LAUNCHER_WINDOWS
    // Who declined the prompt knows.
    if (!g_showProblems || problem == LaunchProblem::kDeclined) return exitCode;
#endif
    wchar_t* reason = nullptr;
    DWORD reasonLength = 0;
    if (problem == LaunchProblem::kStartFailed)
        reasonLength = ::FormatMessageW(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
            nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    const velmora::OwnedLocalMemory reasonOwner(reason);
    const bool english = UserChoseEnglish();
    OwnedText line;
    if (Compose(line, [&](char16_t* out, size_t capacity) {
            return velmora::launcher::LaunchProblemLine(problem, Utf16(name), nameLength, Utf16(path),
                                                        pathLength, Utf16(reason), reasonLength, out,
                                                        capacity, english);
        }))
#ifdef VELMORA_LAUNCHER_WINDOWS
        ShowProblem(line);
#else
        WriteError(line);
#endif
    return exitCode;
}

// The entry's Path value in front of PATH, for the program to inherit.
void PutPathInFront(const OwnedText& extra) {
    OwnedText current;
    OwnedText merged;
    if (extra.Empty() || !EnvironmentValue(L"PATH", current)) return;
    if (Compose(merged, [&](char16_t* out, size_t capacity) {
            return velmora::launcher::MergePathInFront(extra.Data16(), extra.Length(), current.Data16(),
                                                       current.Length(), out, capacity);
        }))
        ::SetEnvironmentVariableW(L"PATH", merged.Data());
}

// A 32-bit launcher on 64-bit Windows sees System32 as the real one, as the
// shell does that starts a run command by name; elsewhere this does nothing.
class RealSystemFolder {
public:
    RealSystemFolder() {
#ifndef _WIN64
        m_disabled = ::Wow64DisableWow64FsRedirection(&m_previous);
#endif
    }
    ~RealSystemFolder() {
#ifndef _WIN64
        if (m_disabled) ::Wow64RevertWow64FsRedirection(m_previous);
#endif
    }
    RealSystemFolder(const RealSystemFolder&) = delete;
    RealSystemFolder& operator=(const RealSystemFolder&) = delete;

private:
#ifndef _WIN64
    void* m_previous = nullptr;
    BOOL m_disabled = FALSE;
#endif
};

bool IsProgramFile(const wchar_t* path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The launcher's own window state (start /min, a shortcut's "run minimised")
// passed on to the program.
STARTUPINFOW StartupLikeOwn() {
    STARTUPINFOW own;
    own.cb = sizeof own;
    ::GetStartupInfoW(&own);
    STARTUPINFOW startup;
    ::SecureZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    if ((own.dwFlags & STARTF_USESHOWWINDOW) != 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = own.wShowWindow;
    }
    return startup;
}

#ifndef VELMORA_LAUNCHER_WINDOWS
// Ctrl+C and Ctrl+Break reach every process of the console: the program
// handles them, the launcher only waits for it to end. A handler, not
// SetConsoleCtrlHandler(nullptr, TRUE), whose setting the program would
// inherit.
BOOL WINAPI LeaveBreakToProgram(DWORD) { return TRUE; }

unsigned RunAndWait(const OwnedText& program, OwnedText& commandLine, const wchar_t* folder,
                    const wchar_t* name, size_t nameLength) {
    ::SetConsoleCtrlHandler(LeaveBreakToProgram, TRUE);
    // The job ends the program when the launcher ends first (closed, or
    // killed by whoever started it).
    const velmora::OwnedKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    ::SecureZeroMemory(&limits, sizeof limits);
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    const bool jobReady = job && ::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation,
                                                           &limits, sizeof limits);

    STARTUPINFOW startup = StartupLikeOwn();
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started;
    BOOL created;
    {
        const RealSystemFolder realSystem;
        created = ::CreateProcessW(program.Data(), commandLine.Data(), nullptr, nullptr, TRUE,
                                   CREATE_SUSPENDED, nullptr, folder, &startup, &started);
    }
    if (!created) {
        const DWORD error = ::GetLastError();
        return Problem(LaunchProblem::kStartFailed, name, nameLength, program.Data(), program.Length(),
                       error);
    }
    const velmora::OwnedKernelHandle process(started.hProcess);
    const velmora::OwnedKernelHandle thread(started.hThread);
    // Outside the job (a job of the launcher's own that allows no other on
    // Windows 7) the program still runs, only without that guard.
    if (jobReady) ::AssignProcessToJobObject(job.Get(), process.Get());
    ::ResumeThread(thread.Get());
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = kLauncherFailureExitCode;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    // The program ended by itself: what it started in the background (an
    // editor's window, a server) lives on, as it would had the program been
    // started directly.
    if (jobReady) {
        limits.BasicLimitInformation.LimitFlags = 0;
        ::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    return exitCode;
}
#else
unsigned StartAndLeave(const OwnedText& program, OwnedText& commandLine, const wchar_t* folder,
                       const wchar_t* name, size_t nameLength) {
    STARTUPINFOW startup = StartupLikeOwn();
    PROCESS_INFORMATION started;
    BOOL created;
    {
        const RealSystemFolder realSystem;
        created = ::CreateProcessW(program.Data(), commandLine.Data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   folder, &startup, &started);
    }
    if (!created) {
        const DWORD error = ::GetLastError();
        return Problem(LaunchProblem::kStartFailed, name, nameLength, program.Data(), program.Length(),
                       error);
    }
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return 0;
}
#endif

// Whether this process has the administrator's rights already.
bool RunsElevated() {
    HANDLE opened = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
    const velmora::OwnedKernelHandle token(opened);
    TOKEN_ELEVATION elevation;
    DWORD size = 0;
    return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

// Starts the program elevated through the shell ("runas", the prompt): the
// console launcher waits for it and passes its exit code back. shell32 is
// loaded only for this.
unsigned StartElevated(const OwnedText& program, const wchar_t* arguments, const wchar_t* folder,
                       const wchar_t* name, size_t nameLength) {
    const HMODULE shell32 = velmora::LoadKnownSystemLibrary(L"shell32.dll");
    using ShellExecuteFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
    const auto execute = shell32 == nullptr ? nullptr
                                            : reinterpret_cast<ShellExecuteFunction>(reinterpret_cast<void*>(
                                                  ::GetProcAddress(shell32, "ShellExecuteExW")));
    if (execute == nullptr)
        return Problem(LaunchProblem::kStartFailed, name, nameLength, program.Data(), program.Length(),
                       ::GetLastError());
    const STARTUPINFOW own = StartupLikeOwn();
    SHELLEXECUTEINFOW info;
    ::SecureZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = program.Data();
    info.lpParameters = arguments;
    info.lpDirectory = folder;
    info.nShow = (own.dwFlags & STARTF_USESHOWWINDOW) != 0 ? own.wShowWindow : SW_SHOWNORMAL;
    BOOL started;
    {
        const RealSystemFolder realSystem;
        started = execute(&info);
    }
    if (!started) {
        const DWORD error = ::GetLastError();
        return Problem(error == ERROR_CANCELLED ? LaunchProblem::kDeclined : LaunchProblem::kStartFailed,
                       name, nameLength, program.Data(), program.Length(), error);
    }
    const velmora::OwnedKernelHandle process(info.hProcess);
#ifdef VELMORA_LAUNCHER_WINDOWS
    return 0;
#else
    if (!process) return 0;
    ::SetConsoleCtrlHandler(LeaveBreakToProgram, TRUE);
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = kLauncherFailureExitCode;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
#endif
}

bool IsFolder(const wchar_t* path) {
    const DWORD attributes = ::GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The options of the command, read from its key; the variables are set on
// this process as they are read, for the program to inherit.
struct Options {
    OwnedText arguments;  // unexpanded: the splice expands them
    bool hasArguments = false;
    OwnedText folder;  // expanded; empty for none
    bool administrator = false;
};

bool ReadOptions(HKEY key, Options& options) {
    SetVariables(key, kOptionEnvironmentValue16);
    options.hasArguments = ReadTextValue(key, kOptionArgumentsValue16, options.arguments, false);
    OwnedText folder;
    if (ReadTextValue(key, kOptionFolderValue16, folder, false) && !folder.Empty() &&
        !ExpandEnvironment(folder.Data(), options.folder))
        return false;
    options.administrator = ReadFlagValue(key, kOptionAdministratorValue16);
    return true;
}

unsigned Launch() {
    OwnedText module;
    if (!ModulePath(module)) return kLauncherFailureExitCode;
    const TextPiece namePiece = velmora::launcher::CommandNameOfModule(module.Data16(), module.Length());
    const wchar_t* name = module.Data() + namePiece.offset;
    const size_t nameLength = namePiece.length;
    const TextPiece folder = velmora::launcher::FolderOfModule(module.Data16(), module.Length());
    // The machine's folder is where Velmora puts it: below %ProgramData%,
    // which is %ALLUSERSPROFILE% too on every system that has both.
    OwnedText programData;
    if (!EnvironmentValue(L"ProgramData", programData)) return kLauncherFailureExitCode;
    if (programData.Empty() && !EnvironmentValue(L"ALLUSERSPROFILE", programData))
        return kLauncherFailureExitCode;
    const bool machine = velmora::launcher::IsMachineLauncherFolder(
        module.Data16() + folder.offset, folder.length, programData.Data16(), programData.Length());
#ifdef VELMORA_LAUNCHER_WINDOWS
    g_showProblems =
        velmora::launcher::IsOptionsLauncherFolder(module.Data16() + folder.offset, folder.length);
#endif
    OwnedText keyPath;
    if (!Compose(keyPath, [&](char16_t* out, size_t capacity) {
            return velmora::launcher::AppPathsKeyOfCommand(Utf16(name), nameLength, out, capacity);
        }))
        return kLauncherFailureExitCode;

    HKEY opened = nullptr;
    if (nameLength == 0 || ::RegOpenKeyExW(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, keyPath.Data(),
                                           0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return Problem(LaunchProblem::kNotARunCommand, name, nameLength);
    velmora::OwnedRegKey key(opened);
    OwnedText value;
    OwnedText program;
    // A command with options keeps its program in a value of its own; its
    // default value names the launcher in the options folder.
    if (!ReadTextValue(key.Get(), kOptionProgramValue16, value) && !ReadTextValue(key.Get(), nullptr, value))
        return Problem(LaunchProblem::kNotARunCommand, name, nameLength);
    const TextPiece programPiece = velmora::launcher::ProgramPathOfValue(value.Data16(), value.Length());
    if (programPiece.length == 0) return Problem(LaunchProblem::kNotARunCommand, name, nameLength);
    if (!CopyText(program, value.Data() + programPiece.offset, programPiece.length))
        return kLauncherFailureExitCode;
    // Never itself, over and over.
    if (::lstrcmpiW(program.Data(), module.Data()) == 0)
        return Problem(LaunchProblem::kStartsItself, name, nameLength, program.Data(), program.Length());
    bool present;
    {
        const RealSystemFolder realSystem;
        present = velmora::launcher::IsFullyQualifiedPath(program.Data16(), program.Length()) &&
                  IsProgramFile(program.Data());
    }
    if (!present)
        return Problem(LaunchProblem::kProgramMissing, name, nameLength, program.Data(), program.Length());
    OwnedText extraPath;
    if (ReadTextValue(key.Get(), L"Path", extraPath)) PutPathInFront(extraPath);
    Options options;
    if (!ReadOptions(key.Get(), options)) return kLauncherFailureExitCode;
    key.Destroy();
    const wchar_t* folderGiven = options.folder.Empty() ? nullptr : options.folder.Data();
    if (folderGiven != nullptr && !IsFolder(folderGiven))
        return Problem(LaunchProblem::kFolderMissing, name, nameLength, options.folder.Data(),
                       options.folder.Length());

    const wchar_t* ownLine = ::GetCommandLineW();
    const size_t ownLength = velmora::launcher::TextLength(Utf16(ownLine));
    const size_t tailOffset = velmora::launcher::CommandTailOffset(Utf16(ownLine), ownLength);
    OwnedText arguments;
    if (options.hasArguments) {
        const velmora::OwnedEnvironmentStrings environment(::GetEnvironmentStringsW());
        if (!Compose(arguments, [&](char16_t* out, size_t capacity) {
                return velmora::launcher::SpliceArguments(
                    options.arguments.Data16(), options.arguments.Length(), Utf16(ownLine) + tailOffset,
                    ownLength - tailOffset, Utf16(environment.Get()), out, capacity);
            }))
            return kLauncherFailureExitCode;
    } else if (!CopyText(arguments, ownLine + tailOffset, ownLength - tailOffset)) {
        return kLauncherFailureExitCode;
    }
    if (options.administrator && !RunsElevated())
        return StartElevated(program, arguments.Data(), folderGiven, name, nameLength);
    OwnedText commandLine;
    if (!Compose(commandLine, [&](char16_t* out, size_t capacity) {
            return velmora::launcher::BuildChildCommandLine(
                program.Data16(), program.Length(), arguments.Data16(), arguments.Length(), out, capacity);
        }))
        return kLauncherFailureExitCode;
#ifdef VELMORA_LAUNCHER_WINDOWS
    return StartAndLeave(program, commandLine, folderGiven, name, nameLength);
#else
    return RunAndWait(program, commandLine, folderGiven, name, nameLength);
#endif
}

}  // namespace

extern "C" void LauncherEntry() {
    velmora::LoadDllsFromSystemOnly();
    ::ExitProcess(Launch());
}
