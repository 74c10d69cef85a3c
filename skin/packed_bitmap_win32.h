// Loading a packed skin bitmap from a program's resources.
#pragma once

#include <windows.h>

#include "wnd/Gdi.h"

namespace velmora::skin {

// RCDATA resource `id` of `hInstance`, unpacked into `bitmap` as a 24-bit DIB
// section. False, `bitmap` then holding nothing, when the resource is missing
// or not a whole packed bitmap.
bool LoadPackedSkinBitmap(CBitmap& bitmap, HINSTANCE hInstance, UINT id);

}  // namespace velmora::skin
