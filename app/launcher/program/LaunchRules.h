// The rules of the terminal launcher, free of any Win32 call: the
// launcher is a copy of one small program named after a run command
// (FOLDER\ed.exe), placed in a folder on PATH, that starts the program the
// command's App Paths entry names, with the arguments it was given.
//
// Every function works on UTF-16 text given as pointer and length and writes
// into a buffer its caller provides: it returns how many code units the
// whole result needs, terminating NUL included, and writes the result (NUL
// terminated) only when the capacity given holds all of it; otherwise it
// writes nothing at all. The launcher links no C or C++ runtime, so nothing
// here allocates, throws or uses the standard library.
#pragma once

#include <stddef.h>

#include "app/runcmd/RunCommandOptionNames.h"

namespace velmora::launcher {

// The folder below %LOCALAPPDATA% (the user's launchers) and below
// %ProgramData% (the machine's) that holds the launchers.
inline constexpr char16_t kLauncherFolderTail[] = u"Velmora\\bin";
// The exit code of a launcher whose command cannot be started: cmd's own
// code for a command it does not know.
inline constexpr unsigned kLauncherFailureExitCode = 9009;
// The App Paths key below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline constexpr char16_t kLauncherAppPathsKey[] = u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// A piece of a text given to one of the functions below.
struct TextPiece {
    size_t offset = 0;
    size_t length = 0;
};

// Where the arguments start in a command line: just after its first
// argument, read as CommandLineToArgvW reads the program's name (a quoted
// name ends at the next quote, with no escapes; an unquoted one at the first
// space or tab). The rest of the line is the tail, kept exactly as typed.
size_t CommandTailOffset(const char16_t* commandLine, size_t length);

// The child's command line: `program` in quotes, then `tail` as it is. A
// space goes between them only when the tail is not empty and does not start
// with a space or a tab.
size_t BuildChildCommandLine(const char16_t* program, size_t programLength, const char16_t* tail,
                             size_t tailLength, char16_t* out, size_t capacity);

// The program path of an App Paths default value as the shell reads it:
// without blanks around it and without one pair of quotes around the rest.
// A NUL ends the value early (a REG_SZ value often keeps its own).
TextPiece ProgramPathOfValue(const char16_t* value, size_t length);

// True for a path that names one place whatever the current folder and drive
// are: a drive letter, a colon and a backslash, or a UNC path (\\server\...).
// A relative name would start whatever lies in the folder the user stands in.
bool IsFullyQualifiedPath(const char16_t* path, size_t length);

// PATH for the child: the entry's `Path` value in front of the current PATH,
// `extra;current`. Semicolons at the end of the Path value are dropped so
// that no empty entry is made; an empty Path value leaves PATH as it is and
// an empty PATH gets the Path value alone.
size_t MergePathInFront(const char16_t* extra, size_t extraLength, const char16_t* current,
                        size_t currentLength, char16_t* out, size_t capacity);

// The command a launcher stands for: its file name without the folder and
// without a last ".exe" in any letter case (C:\x\Ed.EXE is "Ed").
TextPiece CommandNameOfModule(const char16_t* modulePath, size_t length);

// The folder of the launcher's own path, without the backslash after it.
TextPiece FolderOfModule(const char16_t* modulePath, size_t length);

// True when `folder` is the machine's launcher folder, programData +
// "\Velmora\bin", or its options folder inside it: compared with letter case ignored (ASCII and Latin-1),
// a slash taken for a backslash, and a backslash at the end of either
// ignored. Any other folder, or an empty programData, is the user's.
bool IsMachineLauncherFolder(const char16_t* folder, size_t folderLength, const char16_t* programData,
                             size_t programDataLength);

// True when the last folder of `folder` is kOptionsFolderName (any case): a
// launcher there was started through its entry's default value.
bool IsOptionsLauncherFolder(const char16_t* folder, size_t folderLength);

// The App Paths key of command `name`, below its root: kLauncherAppPathsKey,
// a backslash, the name and ".exe".
size_t AppPathsKeyOfCommand(const char16_t* name, size_t nameLength, char16_t* out, size_t capacity);

// The arguments of a command with options: its preset arguments with `%*`
// replaced by `tail` (the words typed after the name, blanks before them
// dropped, the rest exactly as typed, never expanded), `%%` by one `%` and
// `%NAME%` by variable NAME of `environment` (a block of NAME=VALUE texts
// each ending in a NUL, the block in a second NUL, as GetEnvironmentStrings
// gives it; names compared with letter case ignored). A variable that is not
// set, and a `%` that starts nothing of these, stays as it is. Without `%*`
// the tail follows the preset after one blank.
size_t SpliceArguments(const char16_t* preset, size_t presetLength, const char16_t* tail, size_t tailLength,
                       const char16_t* environment, char16_t* out, size_t capacity);

// The line the console launcher writes on standard error (and the windows
// one in an options folder shows), ending in CR LF.
enum class LaunchProblem {
    kNotARunCommand,  // no entry, or one that names no program
    kProgramMissing,  // the entry's program is not there
    kStartFailed,     // CreateProcess refused; `reason` is the system's text
    kFolderMissing,   // the working folder (`path`) is not there
    kDeclined,        // the administrator's prompt was declined
    kStartsItself,    // the entry's program is this launcher
};
// In Chinese, or in English when `english` says so.
size_t LaunchProblemLine(LaunchProblem problem, const char16_t* name, size_t nameLength, const char16_t* path,
                         size_t pathLength, const char16_t* reason, size_t reasonLength, char16_t* out,
                         size_t capacity, bool english = false);

// The user's remembered language (the value "Language" of
// HKEY_CURRENT_USER\Software\Velmora) that asks for English: "en", or a
// name that starts "en-" or "en_", in any letter case.
inline constexpr char16_t kLauncherLanguageKey[] = u"Software\\Velmora";
inline constexpr char16_t kLauncherLanguageValue[] = u"Language";
bool IsEnglishName(const char16_t* name, size_t length);

// The length of a NUL-terminated text.
size_t TextLength(const char16_t* text);

}  // namespace velmora::launcher
