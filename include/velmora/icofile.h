// Writing an icon to a .ico file (Windows only).
#pragma once

#include "velmora/export.h"

#if defined(_WIN32)
#include <windows.h>

// Writes `icon` to `path` as an .ico file with one image: a 32-bit colour
// image and its 1-bit mask (a monochrome icon is converted to that form).
// The icon stays the caller's. A relative or drive-relative path ("C:x.ico")
// is resolved against the current directory first.
//
// Nothing is reported. The icon is read and the whole file composed before
// anything is written. The file is written to a temporary file beside
// `path`, which then takes the place of the target: an existing file is
// replaced the way the platform replaces files (it keeps its attributes,
// security and other streams); where no temporary file can be made there,
// the target is written directly. A target that is a directory, read-only,
// hidden or system, or in use by another program, is left alone. On any
// failure (null icon or path, unreadable icon, an image larger than the
// format holds, no memory, a failed write) no temporary file remains and the
// target is as it was, except that a failed direct write removes what it
// had begun rather than leave a partial file.
VELMORA_API void AfxSaveHICON2File(HICON icon, const char* path);
#endif
