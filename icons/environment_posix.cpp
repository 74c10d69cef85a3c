#include <cstdlib>

#include "icons/path_variables.h"

namespace velmora {

bool GetEnvironmentValue(const std::string& name, std::string& value) {
    if (name.empty()) return false;
    const char* text = std::getenv(name.c_str());
    if (text == nullptr || *text == '\0') return false;
    value = text;
    return true;
}

}  // namespace velmora
