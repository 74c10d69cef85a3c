// Writing an icon to a .ico file (Windows only).
#pragma once

#include "velmora/export.h"

#if defined(_WIN32)
#include <windows.h>

// Writes `icon` to `path` as an .ico file with one image: a 32-bit colour
// image and its 1-bit mask (a monochrome icon is converted to that form).
// An existing file at `path` is replaced. The icon stays the caller's.
//
// Nothing is reported. The icon is read and the whole file is written to a
// temporary file beside `path` before it takes the place of the target, so
// on any failure (null icon or path, unreadable icon, no memory, a failed or
// short write, a target that cannot be replaced) the target is left as it
// was and no partial file remains.
VELMORA_API void AfxSaveHICON2File(HICON icon, const char* path);
#endif
