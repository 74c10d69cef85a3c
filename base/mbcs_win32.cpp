#include "base/mbcs.h"

#include <windows.h>

namespace velmora {

bool IsLeadByte(unsigned char byte) noexcept {
    return IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace velmora
