// PellicorUrlFilter on any URL and filter (split at the first zero byte):
// 1 with the accepted URL, 0 with the output untouched, or the documented
// invalid-argument error of a link decoder.
#include <algorithm>

#include "fuzz/util/fuzz_input.h"
#include "velmora/linkdecode.h"

VELMORA_FUZZ_MAX_LEN("-max_len=512")

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* split = std::find(data, data + size, 0);
    const CString url = fuzzing::AsCString(data, static_cast<std::size_t>(split - data));
    const CString filter =
        split == data + size ? CString() : fuzzing::AsCString(split + 1, size - (split - data) - 1);
    fuzzing::AllowingInvalidArg([&] {
        CString out = "untouched";
        const int result = PellicorUrlFilter(url, filter, out);
        if (result == 0 && out != "untouched") std::abort();
        if (result != 0 && result != 1) std::abort();
    });
    return 0;
}
