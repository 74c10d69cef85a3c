// How a 32-bit process under WOW64 names a file of the real (64-bit)
// System32: the system shows such a process SysWOW64 in its place, and only
// the Sysnative alias below the Windows folder leads to the real one.
#pragma once

#include "base/wide_text.h"

// `path` seen through Sysnative when it lies in `windowsFolder`\System32 (the
// folder itself or anything below it), otherwise `path` unchanged.
//
// The path must start with the Windows folder (letter case of ASCII letters
// ignored, other characters compared exactly, '\' and '/' alike),
// followed by one or more separators, "System32" in any case, and then a
// separator or the end. Only "System32" is replaced, by "Sysnative"; the rest
// of the path stays as it was written. The Windows folder may end in
// separators. An empty path or Windows folder gives `path`, as does a path in
// any other form: unexpanded %NAME% references, \\?\ and UNC forms,
// relative paths. Text is UTF-16; the letters and separators looked for are
// ASCII, so no other character is ever taken for one.
CStringW PathThroughSysnative(const CStringW& path, const CStringW& windowsFolder);
