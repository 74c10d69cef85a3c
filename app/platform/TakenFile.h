// What the main window takes from a file dropped on it or named on its
// command line: the command name it proposes and the program it registers.
// A shortcut (.lnk) to a program is taken as that program, its proposed
// name the shortcut's own (what the desktop shows). Plain code: the
// shortcut is read through the function the caller gives.
#pragma once

#include <functional>

#include "base/wide_text.h"

struct TakenFile {
    CStringW proposedName;
    CStringW program;  // empty when the file is not a program
};

// Whether `path` ends in ".lnk" (ASCII letters in any case).
bool IsShortcutFile(const CStringW& path);

// The name proposed for shortcut `path`: its file name without ".lnk", and
// without ".exe" too when the shortcut is named after a program file
// ("ed.exe.lnk" gives "ed", as the program itself would).
CStringW ShortcutProposedName(const CStringW& path);

// Reads shortcut `file`'s target: false when it cannot.
using ShortcutTargetReader = std::function<bool(const CStringW& file, CStringW* pTarget)>;

// `path` taken as a drop takes it: a program (.exe) with its file title;
// a shortcut whose target is a program as that program, with the
// shortcut's name; anything else (a shortcut to a non-program or one that
// cannot be read included) with its file title and no program.
TakenFile TakeFile(const CStringW& path, const ShortcutTargetReader& readShortcut);
