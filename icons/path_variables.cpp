#include "icons/path_variables.h"

#include <cstring>

namespace velmora {

int ExpandPathVariables(char* path, const VariableLookup& lookup) {
    if (path == nullptr) return -1;
    const std::size_t length = strnlen(path, kPathBufferSize);
    if (length == kPathBufferSize) return -1;  // not terminated inside its buffer
    const char* first = static_cast<const char*>(std::memchr(path, '%', length));
    if (first == nullptr || std::memchr(first + 1, '%', length - (first + 1 - path)) == nullptr) return -1;

    // "%" (0x25) is never the second byte of a GBK character, so the scan may
    // go byte by byte.
    std::string output;
    std::string value;
    for (std::size_t i = 0; i < length;) {
        if (path[i] != '%') {
            output.push_back(path[i++]);
            continue;
        }
        const char* closing = static_cast<const char*>(std::memchr(path + i + 1, '%', length - i - 1));
        if (closing == nullptr) return -1;
        const std::size_t end = static_cast<std::size_t>(closing - path);
        const std::string name(path + i + 1, end - i - 1);
        value.clear();
        if (lookup && lookup(name, value)) output += value;
        i = end + 1;
    }
    if (output.size() >= kPathBufferSize) return -1;
    if (!output.empty()) std::memcpy(path, output.c_str(), output.size() + 1);
    return 0;
}

int ExpandPathVariables(char* path) { return ExpandPathVariables(path, GetEnvironmentValue); }

}  // namespace velmora
