// What the manager remembers of its window for the user between sessions:
// its place and size, whether it was maximised, and its column widths. One
// text value below the user's settings key (Software\Velmora of
// HKEY_CURRENT_USER), "left,top,width,height,maximised;column,column,...": the
// position in screen pixels, every size at 96 DPI so that it suits a
// monitor of another scale.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "app/ui/WindowPlacement.h"

namespace velmora::app {

struct RememberedWindow {
    RememberedPlace place;
    std::vector<int> columnsAt96;
};

// The text form above. Parse is false, and *pWindow untouched, for any text
// it does not make exactly: a missing or extra number, a sign or blank out
// of place, a size of zero or below, a number past ±1 000 000, or a column
// of zero or below.
CStringW FormatRememberedWindow(const RememberedWindow& window);
bool ParseRememberedWindow(const CStringW& text, RememberedWindow* pWindow);

// Read from and written to value `valueName` of `keyPath` below `root`.
// Read is false when there is nothing usable (no value, a damaged one).
bool ReadRememberedWindow(IRegistry& registry, RegKey root, const CStringW& keyPath,
                          const CStringW& valueName, RememberedWindow* pWindow);
bool WriteRememberedWindow(IRegistry& registry, RegKey root, const CStringW& keyPath,
                           const CStringW& valueName, const RememberedWindow& window);

}  // namespace velmora::app
