// Which x86 vector instruction sets this processor offers and the operating
// system saves across task switches (cpuid and xgetbv). All false off x86.
//
// Library-internal.
#pragma once

namespace velmora {

struct CpuFeatures {
    bool ssse3 = false;
    bool avx2 = false;
    bool avx512vbmi = false;  // with AVX-512 F and BW, which it needs beside it
};

// Read from the processor on the first call; the same answer afterwards.
const CpuFeatures& GetCpuFeatures();

}  // namespace velmora
