// Readable failure messages for the skin's value types.
#pragma once

#include <ostream>

#include "skin/skin_geometry.h"

namespace velmora::skin {

inline void PrintTo(const SkinRect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
inline void PrintTo(const SkinPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
inline void PrintTo(const SkinSize& s, std::ostream* os) { *os << s.cx << " x " << s.cy; }
inline void PrintTo(const BlitStep& s, std::ostream* os) {
    PrintTo(s.source, os);
    *os << " -> ";
    PrintTo(s.target, os);
    *os << (s.colourKeyed ? " keyed" : "");
}

}  // namespace velmora::skin
