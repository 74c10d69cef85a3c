// URLDecodeANSI_ShareAz on any text: no longer than its input, and its other
// two names give the same bytes.
#include <cstring>

#include "fuzz/util/fuzz_input.h"
#include "velmora/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzing::AsText(data, size);
    const CString decoded = URLDecodeANSI_ShareAz(text.c_str());
    if (decoded.GetLength() > static_cast<int>(std::strlen(text.c_str()))) std::abort();
    if (URLDecodeUnicode_ShareAz(text.c_str()) != decoded) std::abort();
    if (URLDecode_ShareAz(text.c_str()) != decoded) std::abort();
    return 0;
}
