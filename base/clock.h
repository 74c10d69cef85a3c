// Clock readings for time stamps.
#pragma once

#include <cstddef>

namespace velmora {

// Formats the current calendar time, converted to local time, with the C
// library's strftime `format` into `buffer` of `size` bytes. Returns false,
// with an empty buffer, when the conversion or the formatting fails.
bool FormatLocalTime(const char* format, char* buffer, std::size_t size);

// The millisecond field (0 to 999) of the current system time (UTC).
int SystemTimeMilliseconds();

}  // namespace velmora
