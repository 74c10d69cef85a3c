#include "base/clock.h"

namespace velmora {

bool ToLocalTime(std::time_t when, std::tm& local) { return localtime_r(&when, &local) != nullptr; }

int SystemTimeMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<int>(now.tv_nsec / 1000000);
}

}  // namespace velmora
