#include "velmora/base64.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "util/codec/base64_engines.h"

namespace {

using velmora::base64::Engine;

constexpr unsigned char kJunk = 0xCC;

// Every table below runs once per engine (the public functions use the
// fastest one). Engines this processor lacks are skipped.
class Base64 : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (!velmora::base64::EngineRuns(GetParam())) GTEST_SKIP() << "the processor lacks it";
    }

    // Encodes and takes the text over; fails the test when encoding fails.
    // The same bytes behind a long prefix must give the prefix's text and
    // then the same text: that runs each case through the vector loop and
    // out of it again.
    std::string Encode(const std::string& bytes) {
        const std::string text = EncodeOnce(bytes);
        EXPECT_EQ(EncodeOnce(PrefixBytes() + bytes), PrefixText() + text) << text;
        return text;
    }

    struct Decoded {
        int result;
        std::string bytes;   // the first max(result, 0) bytes of the output
        bool tailUntouched;  // nothing written after them
    };

    // Decodes `text`, and checks that the same text behind a long prefix of
    // quartets gives the prefix's bytes, then the same result.
    Decoded Decode(const std::string& text) {
        const Decoded plain = DecodeOnce(text);
        const Decoded prefixed = DecodeOnce(PrefixText() + text);
        EXPECT_EQ(prefixed.result,
                  plain.result < 0 ? -1 : plain.result + static_cast<int>(PrefixBytes().size()))
            << text;
        if (plain.result >= 0) {
            EXPECT_EQ(prefixed.bytes, PrefixBytes() + plain.bytes) << text;
            EXPECT_TRUE(prefixed.tailUntouched) << text;
        }
        return plain;
    }

private:
    // 144 bytes, 192 characters: whole steps of every engine.
    static std::string PrefixBytes() {
        std::string bytes(144, '\0');
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 37 + 11);
        return bytes;
    }
    std::string PrefixText() {
        static const std::string text = EncodeOnce(PrefixBytes());
        return text;
    }

    std::string EncodeOnce(const std::string& bytes) {
        char* text = nullptr;
        const int n =
            velmora::base64::Encode(GetParam(), reinterpret_cast<const unsigned char*>(bytes.data()),
                                    static_cast<int>(bytes.size()), &text);
        EXPECT_GE(n, 0);
        EXPECT_NE(text, nullptr);
        if (n < 0 || text == nullptr) return {};
        EXPECT_EQ(static_cast<size_t>(n), std::strlen(text));
        std::string result(text, static_cast<size_t>(n));
        delete[] text;
        return result;
    }

    Decoded DecodeOnce(const std::string& text) {
        std::vector<unsigned char> out(text.size() + 16, kJunk);
        const int n = velmora::base64::Decode(GetParam(), text.c_str(), out.data());
        Decoded d{n, {}, true};
        const size_t written = n > 0 ? static_cast<size_t>(n) : 0;
        d.bytes.assign(reinterpret_cast<const char*>(out.data()), written);
        if (n >= 0) {
            for (size_t i = written; i < out.size(); ++i) d.tailUntouched &= out[i] == kJunk;
        }
        return d;
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, Base64, ::testing::ValuesIn(velmora::base64::kEngines),
                         [](const auto& info) {
                             return std::string(velmora::base64::EngineName(info.param));
                         });

TEST_P(Base64, EncodeKnownVectors) {
    const struct {
        std::string bytes;
        const char* text;
    } cases[] = {
        {"", ""},
        {"abc", "YWJj"},
        {"M", "TQ=="},
        {"Ma", "TWE="},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\0", 1), "AA=="},
        {"\xFF\xFF\xFF", "////"},
        {"\xFB\xEF\xBE", "++++"},
        {std::string("\x00\x10\x83\x10\x51\x87", 6), "ABCDEFGH"},
    };
    for (const auto& c : cases) EXPECT_EQ(Encode(c.bytes), c.text) << c.text;
}

// Every length 0..100 runs every padding branch many times: the text has the
// exact length, only alphabet characters, pads only at the end, no line
// breaks, and decodes back to the input.
TEST_P(Base64, EveryLengthRoundTrips) {
    std::mt19937 rng(1234);
    for (int len = 0; len <= 100; ++len) {
        std::string bytes(static_cast<size_t>(len), '\0');
        for (auto& b : bytes) b = static_cast<char>(rng());
        const std::string text = Encode(bytes);
        ASSERT_EQ(text.size(), static_cast<size_t>(4 * ((len + 2) / 3))) << len;
        const size_t pads = len % 3 == 0 ? 0 : 3 - len % 3;
        for (size_t i = 0; i < text.size(); ++i) {
            const char ch = text[i];
            if (i >= text.size() - pads) {
                EXPECT_EQ(ch, '=') << len;
            } else {
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)) || ch == '+' || ch == '/') << len;
            }
        }
        const Decoded d = Decode(text.c_str());
        EXPECT_EQ(d.result, len);
        EXPECT_EQ(d.bytes, bytes) << len;
        EXPECT_TRUE(d.tailUntouched) << len;
    }
}

TEST_P(Base64, EncodeLongInputHasNoLineBreaks) {
    const std::string bytes(100000, 'x');
    const std::string text = Encode(bytes);
    EXPECT_EQ(text.size(), 133336u);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
}

TEST_P(Base64, EncodeRejectsBadArgumentsWithoutTouchingOutput) {
    char sentinel = 0;
    char* text = &sentinel;
    const unsigned char byte = 'x';
    const auto encode = [this](const unsigned char* data, int length, char** out) {
        return velmora::base64::Encode(GetParam(), data, length, out);
    };
    EXPECT_EQ(encode(&byte, -1, &text), -1);
    EXPECT_EQ(encode(nullptr, 3, &text), -1);
    EXPECT_EQ(encode(&byte, 1, nullptr), -1);
    // Longer than an int can count once encoded.
    EXPECT_EQ(encode(&byte, 1610612734, &text), -1);
    EXPECT_EQ(text, &sentinel);
    // Zero bytes from a null pointer are still the empty text.
    ASSERT_EQ(encode(nullptr, 0, &text), 0);
    EXPECT_STREQ(text, "");
    delete[] text;
}

TEST_P(Base64, DecodeWellFormedAndEarlyStops) {
    const struct {
        const char* text;
        int result;
        std::string bytes;
    } cases[] = {
        {"YWJj", 3, "abc"},
        {"TQ==", 1, "M"},
        {"TWE=", 2, "Ma"},
        {"", 0, ""},
        {"Zm9vYmFy", 6, "foobar"},
        {"////", 3, "\xFF\xFF\xFF"},
        // The decode ends at a quartet whose first character is not data.
        {"YWJj\nYWJj", 3, "abc"},
        {"YWJj YWJj", 3, "abc"},
        {"YWJj=", 3, "abc"},
        {"YWJj*", 3, "abc"},
        {"=", 0, ""},
        {"=YWJj", 0, ""},
        {" YWJj", 0, ""},
        {"\x80YWJj", 0, ""},
        // Nothing after a padded quartet is decoded, even garbage.
        {"TQ==YWJj", 1, "M"},
        {"TWE=YWJj", 2, "Ma"},
        {"TQ==Y", 1, "M"},
        {"TQ==!!!", 1, "M"},
    };
    for (const auto& c : cases) {
        const Decoded d = Decode(c.text);
        EXPECT_EQ(d.result, c.result) << c.text;
        EXPECT_EQ(d.bytes, c.bytes) << c.text;
        EXPECT_TRUE(d.tailUntouched) << c.text;
    }
}

TEST_P(Base64, DecodeMalformedQuartetsFail) {
    const char* cases[] = {
        "YWJ", "YW", "Y", "TQ=j", "TQ=",   // cut short or data after a lone '='
        "Y===", "Y=JJ", "Y\nJj",           // second character not data
        "YW\nj", "YW*j", "YWJ\n", "YWJ*",  // third or fourth not data nor '='
        "TQ= ", "TQ=*",
        "YWJjY", "YWJjYW", "YWJjYWJ",      // a good quartet, then a short one
        "YWJjTQ=j",
    };
    for (const char* text : cases) EXPECT_EQ(Decode(text).result, -1) << text;
}

TEST_P(Base64, DecodeNullArguments) {
    unsigned char out[4] = {kJunk, kJunk, kJunk, kJunk};
    const auto decode = [this](const char* text, unsigned char* to) {
        return velmora::base64::Decode(GetParam(), text, to);
    };
    EXPECT_EQ(decode(nullptr, out), 0);
    EXPECT_EQ(decode("", nullptr), 0);
    EXPECT_EQ(decode("YWJj", nullptr), -1);
    EXPECT_EQ(out[0], kJunk);
}

// Every byte value decodes the way the alphabet says, and every other byte
// in each quartet position gives the documented result.
TEST_P(Base64, DecodeEveryByteInEveryPosition) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int c = 1; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const size_t value = alphabet.find(ch);
        const bool data = value != std::string::npos;
        std::string first = std::string(1, ch) + "AAA";
        std::string second = std::string("A") + ch + "AA";
        std::string third = std::string("AA") + ch + "A";
        std::string fourth = std::string("AAA") + ch;
        if (data) {
            const Decoded d = Decode(fourth.c_str());
            ASSERT_EQ(d.result, 3);
            EXPECT_EQ(static_cast<unsigned char>(d.bytes[2]), value);
            EXPECT_EQ(Decode(first.c_str()).result, 3);
            EXPECT_EQ(Decode(second.c_str()).result, 3);
            EXPECT_EQ(Decode(third.c_str()).result, 3);
        } else {
            EXPECT_EQ(Decode(first.c_str()).result, 0) << c;
            EXPECT_EQ(Decode(second.c_str()).result, -1) << c;
            EXPECT_EQ(Decode(third.c_str()).result, -1) << c;  // "AA=A": data after a lone "="
            EXPECT_EQ(Decode(fourth.c_str()).result, ch == '=' ? 2 : -1) << c;
        }
    }
}

}  // namespace
