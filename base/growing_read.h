// The platform's "call again with a bigger buffer" reads, once for every
// text type: the tool's UTF-16 texts and the library's narrow paths.
#pragma once

#include <cstddef>

namespace velmora {

// Reads a text of unknown length through a platform call that fills a
// buffer: `read(buffer, capacity)` stores at most `capacity` code units, the
// terminating zero included, and returns the text's length. A length below
// `capacity` is taken as the whole text; any other length means it did not
// fit, and the read is tried again with a buffer large enough for that
// length and its zero, at least twice the last one, up to `maxCapacity`
// units. Returns the text, or the empty text when the read fails (returns
// 0) or the text does not fit in `maxCapacity` units.
template <typename Text, typename Read>
Text ReadGrowing(Read read, std::size_t firstCapacity = 260, std::size_t maxCapacity = 32768) {
    Text text;
    std::size_t capacity = firstCapacity > 0 ? firstCapacity : 1;
    while (capacity <= maxCapacity) {
        text.assign(capacity, typename Text::value_type());
        const std::size_t length = read(text.data(), capacity);
        if (length == 0) break;
        if (length < capacity) {
            text.resize(length);
            return text;
        }
        const std::size_t larger = length + 1 > capacity * 2 ? length + 1 : capacity * 2;
        if (capacity == maxCapacity) break;
        capacity = larger < maxCapacity ? larger : maxCapacity;
    }
    return Text();
}

}  // namespace velmora
