// Shapes a fuzzer's bytes into the argument types of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "velmora/CString.h"

namespace fuzzing {

// The bytes as a string, zero bytes included.
inline CString AsCString(const std::uint8_t* data, std::size_t size) {
    return CString(reinterpret_cast<const char*>(data), static_cast<int>(size));
}

// The bytes as a zero-terminated text (it ends at the first zero byte).
inline std::string AsText(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Runs `call`, letting only the documented error through: the string
// layer's invalid argument for a malformed Base64 payload. Anything else
// that escapes is a finding.
template <typename Call>
void AllowingInvalidArg(Call call) {
    try {
        call();
    } catch (const CStringError& error) {
        if (error.GetHResult() != kStringErrorInvalidArg) std::abort();
    }
}

}  // namespace fuzzing
