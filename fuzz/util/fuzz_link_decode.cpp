// One link decoder on any link: 1 with a result, 0 with the output untouched,
// or the documented invalid-argument error for a malformed payload. Built
// once per decoder; VELMORA_FUZZ_DECODER names it.
#include "fuzz/util/fuzz_input.h"
#include "velmora/linkdecode.h"

VELMORA_FUZZ_MAX_LEN("-max_len=512")

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CString link = fuzzing::AsCString(data, size);
    fuzzing::AllowingInvalidArg([&] {
        CString out = "untouched";
        const int result = VELMORA_FUZZ_DECODER(link, out);
        if (result == 0 && out != "untouched") std::abort();
        if (result != 0 && result != 1) std::abort();
        CString same = link;
        VELMORA_FUZZ_DECODER(same, same);
    });
    return 0;
}
