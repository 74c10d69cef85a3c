// Helpers tied to the executable's installation directory: the directory
// itself, two per-installation captions, a dated log and directory chains.
//
// The separator is '\\' on Windows and '/' elsewhere.
#pragma once

#include "velmora/CString.h"
#include "velmora/export.h"

// The directory of the running executable with its trailing separator, read
// once per process (first callers may race safely). Empty when the path
// cannot be read; a later call tries again.
VELMORA_API CString GetCurrWorkingDir();

// 32 lower-case hexadecimal characters: the MD5 text of the executable's
// directory, lower-cased, followed by "PellicorSvr" / "PellicorUI".
VELMORA_API CString GetSvrCaption();
VELMORA_API CString GetUICaption();

// Appends the line "<local date and time> <milliseconds>\t<message>\r\n" to
// the file `fileName` in the directory log beside the executable, creating
// that one directory and the file when missing. The file is held
// exclusively while writing, so lines of concurrent writers never
// interleave; while another writer holds it the write waits up to about one
// second. Fails silently: nothing is ever reported or thrown.
VELMORA_API void LogMsg(const char* message, const char* fileName);

// Creates every directory along `path` whose name is followed by a
// separator (the text after the last separator is not created). Returns the
// last creation's success (0 also when that directory existed already), or
// 0 when the path holds no separator.
VELMORA_API int CreateMultipleDirectory(const char* path);
