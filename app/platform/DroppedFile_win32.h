// The files the shell drops on a window (WM_DROPFILES).
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include "base/wide_text.h"

// The first dropped file's full path in UTF-16, whatever its length: the
// buffer grows to the length the shell reports, so a longer path arrives
// whole instead of cut short. Empty when the drop holds no file.
CStringW ReadFirstDroppedPath(HDROP hDrop);
