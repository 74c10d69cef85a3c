// UTF8ToGB and the other code-page conversions on any bytes. UTF-8 to GBK
// never grows a text; a text that is left alone keeps every byte.
#include "fuzz/util/fuzz_input.h"
#include "velmora/url.h"

VELMORA_FUZZ_MAX_LEN("-max_len=1024")

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CString input = fuzzing::AsCString(data, size);
    CString text = input;
    UTF8ToGB(text);
    if (text.GetLength() > input.GetLength()) std::abort();
    const CString utf8 = GBKToUTF8(input);
    if (utf8.GetLength() > input.GetLength() * 3) std::abort();
    UrlEncode_GBKToUTF8(input);
    UrlEncode(input);
    return 0;
}
