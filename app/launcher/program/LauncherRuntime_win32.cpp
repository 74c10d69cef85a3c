// The launcher links no C runtime, but the compiler may still call these
// for a block of memory it clears or copies (a structure set to zero, say).
// Built with -fno-tree-loop-distribute-patterns, so that the loops are not
// turned back into calls of themselves.
#include <stddef.h>

extern "C" {

void* memset(void* destination, int value, size_t size) {
    unsigned char* out = static_cast<unsigned char*>(destination);
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<unsigned char>(value);
    return destination;
}

void* memcpy(void* destination, const void* source, size_t size) {
    unsigned char* out = static_cast<unsigned char*>(destination);
    const unsigned char* in = static_cast<const unsigned char*>(source);
    for (size_t i = 0; i < size; ++i) out[i] = in[i];
    return destination;
}

}  // extern "C"
