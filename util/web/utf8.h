// UTF-8 shape tests used by the conversions (internal, not exported).
#pragma once

#include "base/utf8_shape.h"
#include "velmora/CString.h"

namespace velmora {

// True when the whole text is well-formed by UTF8CharLength and holds at
// least one sequence of two or more bytes; an embedded zero byte ends it.
inline bool IsUTF8Text(const CString& text) { return IsUTF8Bytes(text.GetString(), text.GetLength()); }

}  // namespace velmora
