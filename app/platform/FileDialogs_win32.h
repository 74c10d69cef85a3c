// The system's file dialogs, as the manager's export, import and change of
// target use them (and, for them, the whole-file reads and writes).
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "app/platform/WholeFile_win32.h"
#include "base/wide_text.h"

// The file the user picks to open, or empty when the dialog is cancelled.
// `filter`: code page 936 text of description|pattern| pairs.
// `initialFile`: the file (or folder) the dialog starts at, may be empty.
CStringW AskOpenFileName(HWND hOwner, const char* filter, const CStringW& initialFile);

// The file the user picks to save to ("overwrite?" asked by the dialog), or
// empty. `defaultName` is proposed; `defaultExtension` (without the dot) is
// added to a name typed without one.
CStringW AskSaveFileName(HWND hOwner, const char* filter, const CStringW& defaultName,
                         const CStringW& defaultExtension);

// The folder the user picks in the system's folder dialog, titled `title`,
// or empty when it is cancelled.
CStringW AskFolder(HWND hOwner, const CStringW& title);
