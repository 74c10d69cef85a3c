// The vector engines give exactly what the portable one gives: the same
// text and length when encoding; the same result and the same bytes written
// (and nothing else) when decoding, with irregular characters put at every
// position of texts of every length. Buffers are exactly as large as the
// contract says, so the sanitizer build sees any read or write past them.
#include "util/codec/base64_engines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#if defined(__unix__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

using velmora::base64::Engine;

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr unsigned char kJunk = 0xCC;

class Base64EnginesAgree : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (!velmora::base64::EngineRuns(GetParam())) GTEST_SKIP() << "the processor lacks it";
    }

    // Encodes the bytes with the engine under test and the portable one.
    void ExpectSameText(const std::vector<unsigned char>& bytes) {
        // An exact heap copy: the vector loops must not read past it.
        std::unique_ptr<unsigned char[]> exact(new unsigned char[bytes.size() + 1]);
        if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
        const int length = static_cast<int>(bytes.size());
        char* ours = nullptr;
        char* reference = nullptr;
        const int n = velmora::base64::Encode(GetParam(), exact.get(), length, &ours);
        ASSERT_EQ(n, velmora::base64::Encode(Engine::kScalar, exact.get(), length, &reference));
        ASSERT_EQ(std::memcmp(ours, reference, static_cast<size_t>(n) + 1), 0) << "length " << length;
        delete[] ours;
        delete[] reference;
    }

    // Decodes the text (up to its first zero) both ways into buffers of
    // exactly the documented room, filled with junk first.
    void ExpectSameDecode(const std::string& text) {
        const size_t length = std::strlen(text.c_str());
        std::unique_ptr<char[]> exact(new char[length + 1]);
        std::memcpy(exact.get(), text.c_str(), length + 1);
        ExpectSameDecodeInPlace(exact.get());
    }

    void ExpectSameDecodeInPlace(const char* text) {
        const size_t room = (std::strlen(text) + 3) / 4 * 3;
        std::vector<unsigned char> ours(room, kJunk), reference(room, kJunk);
        const int n = velmora::base64::Decode(GetParam(), text, ours.data());
        ASSERT_EQ(n, velmora::base64::Decode(Engine::kScalar, text, reference.data())) << text;
        ASSERT_EQ(ours, reference) << text;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, Base64EnginesAgree, ::testing::ValuesIn(velmora::base64::kEngines),
                         [](const auto& info) {
                             return std::string(velmora::base64::EngineName(info.param));
                         });

std::string RandomAlphabetText(std::mt19937& rng, size_t length) {
    std::string text(length, 'A');
    for (auto& ch : text) ch = kAlphabet[rng() % 64];
    return text;
}

TEST_P(Base64EnginesAgree, EncodeEveryLength) {
    std::mt19937 rng(7);
    for (size_t length = 0; length <= 300; ++length) {
        std::vector<unsigned char> bytes(length);
        for (auto& b : bytes) b = static_cast<unsigned char>(rng());
        ExpectSameText(bytes);
        if (HasFatalFailure()) return;
    }
    // All zeros and all ones reach the lowest and highest fields of every
    // lane.
    ExpectSameText(std::vector<unsigned char>(200, 0x00));
    ExpectSameText(std::vector<unsigned char>(200, 0xFF));
}

// Every length 0..300; at every position in turn a padding character, a
// pair of them, a line break, a character just outside the alphabet, a byte
// with the top bit set, or the end of the text.
TEST_P(Base64EnginesAgree, DecodeEveryLengthWithEveryPaddingAndErrorPosition) {
    std::mt19937 rng(11);
    const char disturbances[] = {'=', '\n', '*', '\x80', '\0'};
    for (size_t length = 0; length <= 300; ++length) {
        const std::string base = RandomAlphabetText(rng, length);
        ExpectSameDecode(base);
        for (size_t i = 0; i < length; ++i) {
            for (const char ch : disturbances) {
                std::string text = base;
                text[i] = ch;
                ExpectSameDecode(text);
            }
            if (i + 1 < length) {
                std::string text = base;
                text[i] = text[i + 1] = '=';
                ExpectSameDecode(text);
            }
            if (HasFatalFailure()) return;
        }
    }
}

// Every byte value at every place of a 64-character step: the vector
// classification of characters agrees with the portable table for all 256.
TEST_P(Base64EnginesAgree, DecodeEveryByteAtEveryPlaceOfAStep) {
    std::mt19937 rng(13);
    const std::string base = RandomAlphabetText(rng, 192);
    for (int byte = 1; byte < 256; ++byte) {
        for (size_t place = 64; place < 128; ++place) {
            std::string text = base;
            text[place] = static_cast<char>(byte);
            ExpectSameDecode(text);
            if (HasFatalFailure()) return;
        }
    }
}

#if defined(__unix__)
// Two readable pages followed by one that may not be read.
class PagesBeforeAGuard {
public:
    PagesBeforeAGuard() {
        page_ = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        void* map = mmap(nullptr, 3 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) return;
        base_ = static_cast<char*>(map);
        if (mprotect(base_ + 2 * page_, page_, PROT_NONE) != 0) {
            munmap(base_, 3 * page_);
            base_ = nullptr;
        }
    }
    ~PagesBeforeAGuard() {
        if (base_ != nullptr) munmap(base_, 3 * page_);
    }
    PagesBeforeAGuard(const PagesBeforeAGuard&) = delete;
    PagesBeforeAGuard& operator=(const PagesBeforeAGuard&) = delete;

    bool Ready() const { return base_ != nullptr; }
    std::size_t Page() const { return page_; }
    // Where the readable memory ends.
    char* Guard() const { return base_ + 2 * page_; }

    // Copies `text` and its zero to end exactly at the guard.
    const char* PlaceAtEnd(const std::string& text) const {
        char* at = Guard() - text.size() - 1;
        std::memcpy(at, text.c_str(), text.size() + 1);
        return at;
    }

private:
    std::size_t page_ = 0;
    char* base_ = nullptr;
};

// The vector loops read a whole step before looking at it, past the end of
// the text when a step holds its zero. Texts whose zero is the last byte
// before an unreadable page, of every length up to 300 and one that starts
// a page before, some disturbed near their end or near the page boundary
// they cross: a read into the guard page ends the test with a fault.
TEST_P(Base64EnginesAgree, DecodeNeverReadsIntoAPageTheTextDoesNotReach) {
    const PagesBeforeAGuard pages;
    if (!pages.Ready()) GTEST_SKIP() << "no guard page";
    std::mt19937 rng(17);
    for (size_t length = 0; length <= 300; ++length) {
        ExpectSameDecodeInPlace(pages.PlaceAtEnd(RandomAlphabetText(rng, length)));
        if (HasFatalFailure()) return;
    }
    const size_t length = pages.Page() + 200;
    const std::string base = RandomAlphabetText(rng, length);
    const size_t crossing = length + 1 - pages.Page();  // the first character of the last page
    for (size_t around : {crossing, length - 70}) {
        for (size_t i = around - 70; i < around + 70 && i < length; ++i) {
            for (const char ch : {'=', '\n', '\0'}) {
                std::string text = base;
                text[i] = ch;
                ExpectSameDecodeInPlace(pages.PlaceAtEnd(text));
                if (HasFatalFailure()) return;
            }
        }
    }
}
#endif

}  // namespace
