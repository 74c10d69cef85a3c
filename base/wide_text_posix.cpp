#include <iconv.h>

#include <cerrno>
#include <vector>

#include "base/wide_text.h"

namespace velmora {
namespace {

// What Windows makes of a byte sequence code page 936 does not allow and of
// a character it lacks.
constexpr char16_t kSubstitute = u'?';

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `size` bytes; a sequence iconv refuses is replaced by
    // `substitute` and conversion goes on after `skip` bytes of it.
    std::vector<unsigned char> Run(const char* in, std::size_t size, const char* substitute,
                                   std::size_t substituteSize, std::size_t skip) const {
        std::vector<unsigned char> out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return out;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* input = const_cast<char*>(in);
        std::size_t inLeft = size;
        char chunk[1024];
        while (inLeft > 0) {
            char* output = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result = iconv(m_cd, &input, &inLeft, &output, &outLeft);
            out.insert(out.end(), chunk, output);
            if (result != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: a sequence that is not a character.
            out.insert(out.end(), substitute, substitute + substituteSize);
            const std::size_t step = skip < inLeft ? skip : inLeft;
            input += step;
            inLeft -= step;
        }
        return out;
    }

private:
    iconv_t m_cd;
};

}  // namespace

CStringW WideFrom936(const char* text, std::size_t length) {
    if (text == nullptr || length == 0) return CStringW();
    thread_local const Converter converter("UTF-16LE", "CP936");
    const char substitute[2] = {static_cast<char>(kSubstitute), 0};
    const std::vector<unsigned char> bytes = converter.Run(text, length, substitute, 2, 1);
    return WideFromRegistryData(bytes.data(), bytes.size());
}

std::string NarrowTo936(const CStringW& text) {
    if (text.empty()) return std::string();
    thread_local const Converter converter("CP936", "UTF-16LE");
    std::vector<char> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    const char substitute = static_cast<char>(kSubstitute);
    const std::vector<unsigned char> narrow = converter.Run(bytes.data(), bytes.size(), &substitute, 1, 2);
    return std::string(narrow.begin(), narrow.end());
}

}  // namespace velmora
