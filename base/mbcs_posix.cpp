#include "base/mbcs.h"

namespace velmora {

bool IsLeadByte(unsigned char byte) noexcept {
    // Code page 936: lead bytes run from 0x81 to 0xFE.
    return byte >= 0x81 && byte <= 0xFE;
}

}  // namespace velmora
