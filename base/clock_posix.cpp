#include <ctime>

#include "base/clock.h"

namespace velmora {

bool FormatLocalTime(const char* format, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) return false;
    if (std::strftime(buffer, size, format, &local) == 0) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

int SystemTimeMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int>(now.tv_nsec / 1000000);
}

}  // namespace velmora
