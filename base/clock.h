// Clock readings for time stamps.
#pragma once

#include <cstddef>
#include <ctime>

namespace velmora {

// Formats the current calendar time, converted to local time, with the C
// library's strftime `format` into `buffer` of `size` bytes. Returns false,
// with an empty buffer, when the conversion or the formatting fails.
bool FormatLocalTime(const char* format, char* buffer, std::size_t size);

// Converts a calendar time to local time (the platform's thread-safe
// conversion). Returns false when it fails.
bool ToLocalTime(std::time_t when, std::tm& local);

// The millisecond field (0 to 999) of the current system time (UTC).
int SystemTimeMilliseconds();

}  // namespace velmora
