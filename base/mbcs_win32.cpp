#include <windows.h>

#include "base/mbcs.h"

namespace velmora {

bool IsLeadByte(unsigned char byte) noexcept { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace velmora
