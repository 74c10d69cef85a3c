#include <windows.h>

#include "icons/path_variables.h"

namespace velmora {

bool GetEnvironmentValue(const std::string& name, std::string& value) {
    if (name.empty()) return false;
    char buffer[kPathBufferSize];
    // The result is the value's length, or the size it needs (with its zero)
    // when it does not fit: a long value is fetched whole, and the caller
    // refuses an expansion that outgrows the path buffer.
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (length == 0) return false;
    if (length < sizeof buffer) {
        value.assign(buffer, length);
        return true;
    }
    std::string whole(length, '\0');
    const DWORD copied = GetEnvironmentVariableA(name.c_str(), whole.data(), length);
    if (copied == 0 || copied >= length) return false;
    whole.resize(copied);
    value = whole;
    return true;
}

}  // namespace velmora
