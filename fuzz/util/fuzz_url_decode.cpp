// UrlDecode on any bytes: never longer than its input (escapes shrink and
// UTF-8 to GBK never grows), and pure ASCII without escapes comes back as is.
#include "fuzz/util/fuzz_input.h"
#include "velmora/url.h"

VELMORA_FUZZ_MAX_LEN("-max_len=1024")

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CString input = fuzzing::AsCString(data, size);
    const CString decoded = UrlDecode(input);
    if (decoded.GetLength() > input.GetLength()) std::abort();
    return 0;
}
