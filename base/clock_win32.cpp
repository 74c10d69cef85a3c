#include <windows.h>

#include "base/clock.h"

namespace velmora {

bool ToLocalTime(std::time_t when, std::tm& local) { return localtime_s(&local, &when) == 0; }

int SystemTimeMilliseconds() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return now.wMilliseconds;
}

}  // namespace velmora
