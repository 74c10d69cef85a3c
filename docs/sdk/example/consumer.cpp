// A small program that uses velmora.dll: Base64, a download-link decoder,
// and the string layer's error, thrown inside the DLL and caught here.
#include <cstdio>
#include <cstring>

#include "velmora/velmora.h"

int main() {
    int failures = 0;

    char* encoded = nullptr;
    const int length = base64_encode(reinterpret_cast<const unsigned char*>("Velmora"), 7, &encoded);
    std::printf("base64_encode(\"Velmora\") = %s\n", encoded != nullptr ? encoded : "(null)");
    if (length != 12 || encoded == nullptr || std::strcmp(encoded, "VmVsbW9yYQ==") != 0) ++failures;
    delete[] encoded;  // the encoder's buffer comes from new[]

    CString url;
    ThunderURLDecode("thunder://QUFodHRwOi8vaC9hLnppcFpa", url);
    std::printf("thunder link -> %s\n", url.GetString());
    if (url != "http://h/a.zip") ++failures;

    // A payload that is not Base64: the decoder raises CStringError.
    bool caught = false;
    try {
        ThunderURLDecode("thunder://QUFodHRwOi8vaC9hLnppcFpaQ", url);
    } catch (const CStringError& error) {
        caught = error.GetHResult() == kStringErrorInvalidArg;
        std::printf("caught CStringError 0x%08lX\n", static_cast<unsigned long>(error.GetHResult()));
    }
    if (!caught) ++failures;

    std::printf(failures == 0 ? "consumer: all well\n" : "consumer: %d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
