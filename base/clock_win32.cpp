#include <windows.h>

#include <ctime>

#include "base/clock.h"

namespace velmora {

bool FormatLocalTime(const char* format, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return false;
    buffer[0] = '\0';
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return false;
    if (std::strftime(buffer, size, format, &local) == 0) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

int SystemTimeMilliseconds() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return now.wMilliseconds;
}

}  // namespace velmora
