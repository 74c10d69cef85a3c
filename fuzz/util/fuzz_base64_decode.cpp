// base64_decode writes no more than 3 bytes per 4 characters, into a buffer
// of exactly that size, and returns -1 or a count that fits it.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/util/fuzz_input.h"
#include "velmora/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzing::AsText(data, size);
    const std::size_t length = std::strlen(text.c_str());
    const std::size_t room = (length + 3) / 4 * 3;
    // A heap block of exactly `room` bytes, so a write past it is caught.
    std::unique_ptr<unsigned char[]> out(new unsigned char[room ? room : 1]);
    const int written = base64_decode(text.c_str(), out.get());
    if (written < -1 || written > static_cast<int>(room)) std::abort();
    return 0;
}
