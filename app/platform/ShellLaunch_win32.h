// Starting programs through the shell, as the Run box does.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "base/wide_text.h"

using ShellExecuteExFn = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// Opens `file` with `parameters` (none when empty) through `shellExecute`
// (shell32's ShellExecuteExW, or a stand-in), with
// the verb "open" and `hOwner` as the window of any question the shell asks;
// the shell shows no error message of its own. Both go to the shell in
// UTF-16, every character kept. ERROR_SUCCESS, or the failure's error code
// (never 0).
DWORD ShellOpen(ShellExecuteExFn shellExecute, HWND hOwner, const CStringW& file, const CStringW& parameters);

// The system's text for an error code without its line end, or "错误 N" ("Error N") when
// the system has none.
CStringW SystemErrorText(DWORD error);
