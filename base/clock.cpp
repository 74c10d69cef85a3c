#include "base/clock.h"

namespace velmora {

bool FormatLocalTime(const char* format, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    std::tm local{};
    if (!ToLocalTime(std::time(nullptr), local)) return false;
    if (std::strftime(buffer, size, format, &local) == 0) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace velmora
