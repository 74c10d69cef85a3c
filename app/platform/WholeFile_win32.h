// Whole-file reads and writes by UTF-16 path: the manager's and the console
// program's export and import.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "base/wide_text.h"

// Writes `bytes` as the whole file (created or replaced). ERROR_SUCCESS or
// the system's error; a failed write leaves no partial file behind.
DWORD WriteWholeFile(const CStringW& path, const std::vector<unsigned char>& bytes);

// Reads the whole file into `bytes`. ERROR_SUCCESS; the system's error; or
// ERROR_FILE_TOO_LARGE for a file of more than `maxBytes`.
DWORD ReadWholeFile(const CStringW& path, std::size_t maxBytes, std::vector<unsigned char>& bytes);
