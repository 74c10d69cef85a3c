// ThunderURLDecode on any link: 1 with a result, 0 with the output untouched, or the
// documented invalid-argument error for a malformed payload.
#include "fuzz/util/fuzz_input.h"
#include "velmora/linkdecode.h"

VELMORA_FUZZ_MAX_LEN("-max_len=512")

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CString link = fuzzing::AsCString(data, size);
    fuzzing::AllowingInvalidArg([&] {
        CString out = "untouched";
        const int result = ThunderURLDecode(link, out);
        if (result == 0 && out != "untouched") std::abort();
        if (result != 0 && result != 1) std::abort();
        CString same = link;
        ThunderURLDecode(same, same);
    });
    return 0;
}
