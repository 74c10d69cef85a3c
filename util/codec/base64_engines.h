// The engines behind base64_encode and base64_decode: the portable one and
// the vector ones. The public functions use the fastest engine this
// processor runs, chosen once; tests, fuzzers and benchmarks name an engine
// explicitly to run each in turn. Every engine gives the same bytes, length
// and result as the portable one for every input.
//
// Library-internal: nothing here is exported.
#pragma once

namespace velmora::base64 {

enum class Engine {
    kScalar,      // portable code, any processor
    kSsse3,       // 16 characters a step
    kAvx2,        // 32 characters a step
    kAvx512Vbmi,  // 64 characters a step
};

inline constexpr Engine kEngines[] = {Engine::kScalar, Engine::kSsse3, Engine::kAvx2, Engine::kAvx512Vbmi};

// "scalar", "ssse3", "avx2", "avx512vbmi".
const char* EngineName(Engine engine);

// Whether this processor and operating system run `engine`; always true for
// kScalar, always false off x86.
bool EngineRuns(Engine engine);

// The fastest engine that runs here (decided on the first call).
Engine FastestEngine();

// base64_encode and base64_decode (velmora/base64.h, same contracts) with
// `engine`. An engine that does not run here is replaced by kScalar.
int Encode(Engine engine, const unsigned char* data, int length, char** out);
int Decode(Engine engine, const char* text, unsigned char* out);

}  // namespace velmora::base64
