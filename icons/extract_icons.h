// Icons of a file on disk at a requested size, without asking the shell:
// read from the icon resources of an executable image, or loaded from an
// icon, animated-cursor or bitmap file. Windows only.
//
// Every icon returned belongs to the caller, who destroys it. Failures
// (excluded extension, file not found or not readable, short or unknown
// header, no usable resources, a failed platform load) give the number of
// icons produced before them, 0 when there were none. Nothing is shown or
// logged.
#pragma once

#include <windows.h>

namespace velmora {

// The entry point. The kind of file is decided by its extension (".com",
// ".bat", ".cmd", ".pif" and ".lnk" in any case give 0 without opening the
// file) and then by its first 12 bytes. %NAME% references in `path` are
// expanded and the file is searched as SearchPathA does; paths of 260 bytes
// or more are refused.
//
// firstIndex >= 0 selects the first icon group by position, < 0 by resource
// identifier (-firstIndex). `icons` receives up to `count` icons (or is null),
// `iconIds` the image identifiers chosen (or is null). On entry icons[0] is
// set to null and iconIds[0] to -1 when given (and count > 0); no slot at or
// beyond `count` is ever written, so `icons` with `count` 0 gives 0.
//
// Returns the number of icons produced; with `icons` null, the number of icon
// groups of an executable instead (1 for a loadable icon, cursor or bitmap
// file), and no icon is left behind.
//
// A file that can be opened for attribute writing keeps its last-access time:
// the time read at opening is written back at once and after reading.
unsigned ExtractFileIcons(const char* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                          int* iconIds, unsigned count, UINT loadFlags);

// The same for a path in UTF-16, as the tool holds it: the file is opened
// by that name, so characters outside the ANSI code page are kept. %NAME%
// references are expanded from the environment (ExpandEnvironmentStringsW)
// and the file is searched as SearchPathW does; paths of kLongestWidePath
// code units or more are refused.
constexpr unsigned kLongestWidePath = 32768;
unsigned ExtractFileIconsW(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                           int* iconIds, unsigned count, UINT loadFlags);

// The icon groups of an executable image, through a read-only view of the
// open file. A group is counted even if the platform then builds no icon
// from its image (the slot is left null); a group or image that is missing,
// malformed or compressed ends the walk.
unsigned ExtractImageIcons(HANDLE file, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                           int* iconIds, unsigned count, UINT loadFlags);

// An icon, cursor or animated-cursor file through the platform's icon
// loader. Such a file holds one icon: firstIndex >= 1 gives 0.
unsigned LoadIconFile(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                      UINT loadFlags);

// A bitmap file as an icon whose pixels of the top-left pixel's colour are
// transparent. firstIndex >= 1 gives 0.
unsigned LoadBitmapFileAsIcon(const wchar_t* path, int firstIndex, int cxDesired, int cyDesired, HICON* icons,
                              UINT loadFlags);

}  // namespace velmora
