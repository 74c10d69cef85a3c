// The vector loops of the Base64 engines (base64_engines.h). Each handles
// only the regular middle of the data, whole steps at a time, and leaves the
// rest (the tail, padding, anything outside the alphabet) to the portable
// code, which is the reference for every irregular case.
//
// Encode*Blocks reads at most `length` bytes at `data`, writes 4 characters
// for every 3 bytes it takes and returns how many bytes it took (a multiple
// of 3).
// Decode*Blocks reads at most `length` characters at `text` and takes them
// in steps of 16, 32 or 64 (the engine's width) while every character of the
// step is in the alphabet; it writes exactly 3 bytes for every 4 characters
// it took, nothing more, and returns how many characters it took.
//
// Each function runs only on a processor with its instructions
// (EngineRuns). Library-internal.
//
// base64_decode lets the decode loops read past the text's terminating zero
// within a page the text reaches (base64.cpp says how far). The address
// sanitizer cannot tell such a read from an overrun, so those loops are not
// instrumented; a test lays texts against an unmapped page instead.
#pragma once

#include <cstddef>

#define VELMORA_READS_AHEAD __attribute__((no_sanitize_address))

#if defined(__i386__) || defined(__x86_64__)
#define VELMORA_BASE64_X86 1

namespace velmora::base64 {

std::size_t EncodeSsse3Blocks(const unsigned char* data, std::size_t length, char* text);
std::size_t DecodeSsse3Blocks(const unsigned char* text, std::size_t length, unsigned char* out);

std::size_t EncodeAvx2Blocks(const unsigned char* data, std::size_t length, char* text);
std::size_t DecodeAvx2Blocks(const unsigned char* text, std::size_t length, unsigned char* out);

std::size_t EncodeAvx512VbmiBlocks(const unsigned char* data, std::size_t length, char* text);
std::size_t DecodeAvx512VbmiBlocks(const unsigned char* text, std::size_t length, unsigned char* out);

}  // namespace velmora::base64

#endif
