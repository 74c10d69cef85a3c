// Whether a run command's name can also be a command in a terminal: the
// launcher that makes it one is a file named after it in a folder on PATH, so
// the name must be a plain file name that cmd and PowerShell can type.
#pragma once

#include "base/wide_text.h"

enum class TerminalNameCheck {
    kFits,
    kGrouped,       // "tools\ed": a group is a key, not a file
    kReserved,      // con, nul, com1...: device names, whatever follows the dot
    kBadCharacter,  // < > : " / | ? * or a control character
    kBadEnd,        // ends in a dot or a blank, which the file system drops
};

// The check of a command name as the store keeps it (trimmed, no ".exe").
TerminalNameCheck CheckTerminalName(const CStringW& command);
