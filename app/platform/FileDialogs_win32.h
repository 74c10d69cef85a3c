// The system's file dialogs and whole-file reads and writes, as the manager's
// export, import and change of target use them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

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

// Writes `bytes` as the whole file (created or replaced). ERROR_SUCCESS or
// the system's error; a failed write leaves no partial file behind.
DWORD WriteWholeFile(const CStringW& path, const std::vector<unsigned char>& bytes);

// Reads the whole file into `bytes`. ERROR_SUCCESS; the system's error; or
// ERROR_FILE_TOO_LARGE for a file of more than `maxBytes`.
DWORD ReadWholeFile(const CStringW& path, std::size_t maxBytes, std::vector<unsigned char>& bytes);
