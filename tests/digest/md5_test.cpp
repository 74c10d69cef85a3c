#include "digest/md5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Md5Hex(const std::string& bytes) {
    unsigned char digest[16];
    std::memset(digest, 0xCC, sizeof(digest));
    MD5Buffer(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<std::uint32_t>(bytes.size()),
              digest);
    return DigestToHexStr(digest).GetString();
}

TEST(MD5, Rfc1321TestSuite) {
    const struct {
        const char* message;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) EXPECT_EQ(Md5Hex(c.message), c.digest) << c.message;
}

// Lengths around the padding boundaries: 55 bytes pad within the block,
// 56 need a second one; 64 and 128 end exactly on block boundaries.
TEST(MD5, PaddingBoundaries) {
    const struct {
        size_t length;
        const char* digest;
    } cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},  {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"},  {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},  {119, "8a7bd0732ed6a28ce75f6dabc90e1613"},
        {120, "5f61c0ccad4cac44c75ff505e1f1e537"}, {128, "e510683b3f5ffe4093d021808bc6ff70"},
    };
    for (const auto& c : cases) EXPECT_EQ(Md5Hex(std::string(c.length, 'a')), c.digest) << c.length;
}

// Any split of the input over MD5Update calls gives the one-call digest,
// whatever is already buffered when a call starts.
TEST(MD5, RandomSplitsMatchOneCall) {
    std::mt19937 rng(42);
    for (int round = 0; round < 200; ++round) {
        std::vector<unsigned char> data(rng() % 600);
        for (auto& b : data) b = static_cast<unsigned char>(rng());
        unsigned char whole[16];
        MD5Buffer(data.data(), static_cast<std::uint32_t>(data.size()), whole);

        MD5Context context;
        MD5Init(&context);
        size_t pos = 0;
        while (pos < data.size()) {
            const size_t piece = std::min<size_t>(data.size() - pos, rng() % 150);
            MD5Update(&context, data.data() + pos, static_cast<std::uint32_t>(piece));
            pos += piece;
        }
        unsigned char split[16];
        MD5Final(split, &context);
        ASSERT_EQ(std::memcmp(whole, split, 16), 0) << "round " << round << ", " << data.size() << " bytes";
    }
}

TEST(MD5, ContextLifecycle) {
    MD5Context context;
    std::memset(&context, 0xAB, sizeof(context));
    MD5Init(&context);
    EXPECT_EQ(context.state[0], 0x67452301u);
    EXPECT_EQ(context.state[1], 0xEFCDAB89u);
    EXPECT_EQ(context.state[2], 0x98BADCFEu);
    EXPECT_EQ(context.state[3], 0x10325476u);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 0u);

    const unsigned char text[] = "abc";
    MD5Update(&context, text, 3);
    EXPECT_EQ(context.count[0], 24u);
    EXPECT_EQ(std::memcmp(context.buffer, "abc", 3), 0);

    unsigned char digest[16];
    MD5Final(digest, &context);
    EXPECT_EQ(DigestToHexStr(digest), "900150983cd24fb0d6963f7d28e17f72");
    // Final leaves nothing of the message behind.
    const MD5Context zero{};
    EXPECT_EQ(std::memcmp(&context, &zero, sizeof(context)), 0);
}

TEST(MD5, BitCountCarriesIntoHighWord) {
    MD5Context context;
    MD5Init(&context);
    context.count[0] = 0xFFFFFFF8u;  // one byte short of 2^32 bits, 63 bytes buffered
    const unsigned char byte = 'x';
    MD5Update(&context, &byte, 1);
    EXPECT_EQ(context.count[0], 0u);
    EXPECT_EQ(context.count[1], 1u);
    EXPECT_EQ(context.buffer[63], 'x');
}

TEST(MD5, NullArgumentsAreHarmless) {
    MD5Context context;
    MD5Init(&context);
    MD5Update(&context, nullptr, 10);
    EXPECT_EQ(context.count[0], 0u);
    MD5Update(nullptr, reinterpret_cast<const unsigned char*>("x"), 1);
    MD5Final(nullptr, &context);
    MD5Init(nullptr);
    unsigned char digest[16];
    MD5Buffer(nullptr, 0, digest);
    EXPECT_EQ(DigestToHexStr(digest), "d41d8cd98f00b204e9800998ecf8427e");
    // A null input is the empty message whatever length comes with it.
    MD5Buffer(nullptr, 10, digest);
    EXPECT_EQ(DigestToHexStr(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(DigestText, LowerCaseWithLeadingZeros) {
    unsigned char digest[16];
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<unsigned char>(i * 0x11 ^ 0x05);
    digest[0] = 0x05;
    digest[1] = 0x00;
    digest[2] = 0xAB;
    const CString text = DigestToHexStr(digest);
    ASSERT_EQ(text.GetLength(), 32);
    EXPECT_EQ(text.Left(6), "0500ab");
    for (int i = 0; i < 32; ++i) {
        const char ch = text[i];
        EXPECT_TRUE((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f')) << text.GetString();
    }
    EXPECT_TRUE(DigestToHexStr(nullptr).IsEmpty());
}

TEST(DigestText, TextIsFoldedToLowerCaseFirst) {
    EXPECT_TRUE(TextToMD5Str("").IsEmpty());
    EXPECT_EQ(TextToMD5Str("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(TextToMD5Str("ABC"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(TextToMD5Str("aBc"), "900150983cd24fb0d6963f7d28e17f72");
    // A GBK character whose trail byte is 'A' keeps it: only the single-byte
    // letters after it are folded.
    EXPECT_EQ(TextToMD5Str("\x81\x41" "BC"), "da5441f0c5bbb6a1812c1877acd819b0");
    // The caller's text is not changed.
    const CString original("ABC");
    TextToMD5Str(original);
    EXPECT_EQ(original, "ABC");
}

}  // namespace
