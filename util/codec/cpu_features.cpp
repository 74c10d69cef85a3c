#include "util/codec/cpu_features.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace velmora {
namespace {

#if defined(__i386__) || defined(__x86_64__)

// The state components the operating system saves (XCR0). xgetbv is
// written out so that no function needs the "xsave" target.
unsigned long long ReadXcr0() {
    unsigned int low = 0, high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<unsigned long long>(high) << 32) | low;
}

CpuFeatures Detect() {
    CpuFeatures f;
    unsigned int eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid_max(0, nullptr) < 1 || !__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return f;
    f.ssse3 = (ecx & bit_SSSE3) != 0;

    // The wide registers count only when the system saves them: XMM and
    // YMM (bits 1, 2) for AVX2; also the mask and upper ZMM state (5-7)
    // for AVX-512.
    const bool osxsave = (ecx & bit_OSXSAVE) != 0 && (ecx & bit_AVX) != 0;
    if (!osxsave || __get_cpuid_max(0, nullptr) < 7) return f;
    const unsigned long long xcr0 = ReadXcr0();
    const bool ymmSaved = (xcr0 & 0x06) == 0x06;
    const bool zmmSaved = (xcr0 & 0xE6) == 0xE6;

    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    f.avx2 = ymmSaved && (ebx & bit_AVX2) != 0;
    const bool avx512fbw = (ebx & bit_AVX512F) != 0 && (ebx & bit_AVX512BW) != 0;
    f.avx512vbmi = zmmSaved && avx512fbw && (ecx & bit_AVX512VBMI) != 0;
    return f;
}

#else

CpuFeatures Detect() { return {}; }

#endif

}  // namespace

const CpuFeatures& GetCpuFeatures() {
    static const CpuFeatures features = Detect();
    return features;
}

}  // namespace velmora
