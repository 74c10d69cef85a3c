// The monitors' work areas as the system gives them, and the tool windows
// moved to the places WindowPlacement.h works out.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/skin_geometry.h"

class CWnd;

namespace velmora::app {

// The work area of the monitor that holds most of `hWnd` (the nearest one
// when none does); empty when the system gives none.
skin::SkinRect WorkAreaOf(HWND hWnd);
// The work areas of every monitor of the desktop.
std::vector<skin::SkinRect> AllWorkAreas();
// The window rectangle of `hWnd` in screen pixels.
skin::SkinRect WindowRectOf(HWND hWnd);

// Moves `window` (sized already) to the middle of its owner, or of the work
// area when it has none shown, wholly inside the work area of the monitor
// the owner is on.
void CentreInsideWorkArea(CWnd& window);

}  // namespace velmora::app
