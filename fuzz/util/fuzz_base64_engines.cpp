// Every vector Base64 engine this processor runs against the portable one,
// each forced in turn: encoding the input gives the same text and length;
// decoding gives the same result and the same output buffer (exactly the
// documented room, pre-filled), both for the input as text and for a mostly
// well-formed text made from it, where bytes from 0xF0 up become padding,
// line breaks, characters beside the alphabet or an early end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "util/codec/base64_engines.h"

namespace {

using velmora::base64::Engine;

void CompareEncode(const std::uint8_t* data, std::size_t size) {
    const int length = static_cast<int>(size);
    char* reference = nullptr;
    const int expected = velmora::base64::Encode(Engine::kScalar, data, length, &reference);
    for (const Engine engine : velmora::base64::kEngines) {
        if (engine == Engine::kScalar || !velmora::base64::EngineRuns(engine)) continue;
        char* text = nullptr;
        const int n = velmora::base64::Encode(engine, data, length, &text);
        if (n != expected || (n >= 0 && std::memcmp(text, reference, static_cast<std::size_t>(n) + 1) != 0)) {
            std::abort();
        }
        delete[] text;
    }
    delete[] reference;
}

void CompareDecode(const std::string& text) {
    const std::size_t length = std::strlen(text.c_str());
    // An exact heap copy, so a read past the terminating zero is caught.
    std::unique_ptr<char[]> exact(new char[length + 1]);
    std::memcpy(exact.get(), text.c_str(), length + 1);
    const std::size_t room = (length + 3) / 4 * 3;
    std::vector<unsigned char> reference(room, 0xCC);
    const int expected = velmora::base64::Decode(Engine::kScalar, exact.get(), reference.data());
    for (const Engine engine : velmora::base64::kEngines) {
        if (engine == Engine::kScalar || !velmora::base64::EngineRuns(engine)) continue;
        std::vector<unsigned char> out(room, 0xCC);
        if (velmora::base64::Decode(engine, exact.get(), out.data()) != expected || out != reference)
            std::abort();
    }
}

std::string MostlyAlphabet(const std::uint8_t* data, std::size_t size) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    static const char kOthers[] = {'=', '=', '\n', '\r', ' ', '*', ',',    '-',
                                   '.', ':', '@',  '[',  '`', '{', '\x80', '\0'};
    std::string text(size, 'A');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = data[i] >= 0xF0 ? kOthers[data[i] & 0x0F] : kAlphabet[data[i] & 0x3F];
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CompareEncode(data, size);
    CompareDecode(std::string(reinterpret_cast<const char*>(data), size));
    CompareDecode(MostlyAlphabet(data, size));
    return 0;
}
