#include <windows.h>

#include "icons/path_variables.h"

namespace velmora {

bool GetEnvironmentValue(const std::string& name, std::string& value) {
    if (name.empty()) return false;
    char buffer[kPathBufferSize];
    // The result is the value's length, or the size it would need when it
    // does not fit: such a value is refused rather than cut.
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return false;
    value.assign(buffer, length);
    return true;
}

}  // namespace velmora
