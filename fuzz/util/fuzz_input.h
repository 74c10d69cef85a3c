// Shapes a fuzzer's bytes into the argument types of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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

// Puts `flag` (such as "-max_len=512") in front of the command line's own
// flags, which can still override it. For LLVMFuzzerInitialize, which
// libFuzzer calls before it reads its flags.
inline void PrependFlag(int* argc, char*** argv, const char* flag) {
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + (args.empty() ? 0 : 1), const_cast<char*>(flag));
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
}

}  // namespace fuzzing

// Sets the default longest input (the command line can still override it).
// URLs, links and names are short texts: longer inputs mostly repeat the
// same paths through the byte walks, at a fraction of the speed, and the
// long-text paths (chunks, growing buffers) have unit tests of their own.
#define VELMORA_FUZZ_MAX_LEN(flag)                                 \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) { \
        fuzzing::PrependFlag(argc, argv, flag);                    \
        return 0;                                                  \
    }
