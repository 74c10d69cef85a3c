// Download-link decoders and the URL filter.
#include <gtest/gtest.h>

#include <string>

#include "velmora/linkdecode.h"

namespace {

std::string Base64(const std::string& bytes) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += i + 1 < bytes.size() ? kAlphabet[(group >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
    }
    return out;
}

CString Thunder(const std::string& url) { return ("thunder://" + Base64("AA" + url + "ZZ")).c_str(); }
CString Flashget(const std::string& url) {
    return ("flashget://" + Base64("[FLASHGET]" + url + "[FLASHGET]")).c_str();
}
CString QQDownload(const std::string& url) { return ("qqdl://" + Base64(url)).c_str(); }

int ExpectInvalidArg(int (*decode)(CString, CString&), const CString& link) {
    CString out = "untouched";
    try {
        decode(link, out);
    } catch (const CStringError& error) {
        EXPECT_EQ(kStringErrorInvalidArg, error.GetHResult());
        EXPECT_EQ(CString("untouched"), out);
        return 1;
    }
    return 0;
}

TEST(LinkDecodeTest, UnwrapsEachScheme) {
    CString out;
    ASSERT_EQ(1, ThunderURLDecode(Thunder("http://h/a.zip"), out));
    EXPECT_EQ(CString("http://h/a.zip"), out);
    ASSERT_EQ(1, FlashgetURLDecode(Flashget("http://h/a.zip"), out));
    EXPECT_EQ(CString("http://h/a.zip"), out);
    ASSERT_EQ(1, QQDLURLDecode(QQDownload("AAhttp://h/a.zipZZ"), out));
    EXPECT_EQ(CString("AAhttp://h/a.zipZZ"), out);  // no wrapper to remove
}

TEST(LinkDecodeTest, WrapperRemovalWorksOnCharacterSets) {
    CString out;
    ASSERT_EQ(1, ThunderURLDecode(Thunder("http://h/a.Z"), out));
    EXPECT_EQ(CString("http://h/a."), out);
    ASSERT_EQ(1, ThunderURLDecode(("thunder://" + Base64("AAAAhttp://h/x.zipZ")).c_str(), out));
    EXPECT_EQ(CString("http://h/x.zip"), out);
    ASSERT_EQ(1, FlashgetURLDecode(Flashget("http://h/A.EXE"), out));
    EXPECT_EQ(CString("http://h/A.EX"), out);
    ASSERT_EQ(1, FlashgetURLDecode(Flashget("http://h/a.exe"), out));
    EXPECT_EQ(CString("http://h/a.exe"), out);
    // A payload that is only wrapper still counts as decoded.
    ASSERT_EQ(1, ThunderURLDecode(("thunder://" + Base64("AAAAAAAAAAAZZ")).c_str(), out));
    EXPECT_EQ(CString(""), out);
}

TEST(LinkDecodeTest, TrimsTheLinkAndMayShareItsOutput) {
    CString link = "  \r\n" + Thunder("http://h/a.zip") + "//\\\r\n  ";
    ASSERT_EQ(1, ThunderURLDecode(link, link));
    EXPECT_EQ(CString("http://h/a.zip"), link);
}

TEST(LinkDecodeTest, ShortLinksAndEmptyDecodesGiveZero) {
    CString out = "untouched";
    const CString nineteen = "qqdl://YWJjZGVmZ2hp";  // 19 characters
    ASSERT_EQ(19, nineteen.GetLength());
    EXPECT_EQ(0, QQDLURLDecode(nineteen, out));
    EXPECT_EQ(0, ThunderURLDecode(nineteen, out));
    EXPECT_EQ(0, ThunderURLDecode("thunder://==========", out));  // decodes to nothing
    EXPECT_EQ(0, FlashgetURLDecode("", out));
    EXPECT_EQ(CString("untouched"), out);
    // Twenty characters are decoded; the decode stops at the '='.
    ASSERT_EQ(1, QQDLURLDecode(nineteen + "=", out));
    EXPECT_EQ(CString("abcdefghi"), out);
}

TEST(LinkDecodeTest, MalformedPayloadRaisesInvalidArgument) {
    EXPECT_EQ(1, ExpectInvalidArg(ThunderURLDecode, "thunder://QUFodHRwOi8vaC9hLnppcFpaQ"));
    EXPECT_EQ(1, ExpectInvalidArg(FlashgetURLDecode, "flashget://YWJjZGVmZ2hpamtsbW5vc"));
    EXPECT_EQ(1, ExpectInvalidArg(QQDLURLDecode, "qqdl://YWJjZGVmZ2hpamtsbW5vcH=j"));
}

TEST(UrlFilterTest, MatchesTheExtensionIgnoringCase) {
    CString out;
    ASSERT_EQ(1, PellicorUrlFilter("HTTP://h/A.EXE", ".exe|.zip", out));
    EXPECT_EQ(CString("HTTP://h/A.EXE"), out);
    EXPECT_EQ(1, PellicorUrlFilter("http://h/a.z", ".zip", out));  // substring test
    EXPECT_EQ(1, PellicorUrlFilter("ftp://h/a.ZIP", "*.EXE;*.Zip", out));
    EXPECT_EQ(0, PellicorUrlFilter("http://h/a.rar", ".exe|.zip", out));
    EXPECT_EQ(CString("ftp://h/a.ZIP"), out);
}

TEST(UrlFilterTest, ExtensionEndsAtQueryFragmentOrBar) {
    CString out;
    EXPECT_EQ(1, PellicorUrlFilter("http://h/a.zip?x=1.exe", ".zip", out));
    EXPECT_EQ(0, PellicorUrlFilter("http://h/a.zip?x=1.exe", ".exe", out));
    EXPECT_EQ(1, PellicorUrlFilter("http://h/a.zip#part", ".zip", out));
    EXPECT_EQ(1, PellicorUrlFilter("http://h/a.zip|x", ".zip", out));
    // '?' wins even when '#' stands before it.
    EXPECT_EQ(1, PellicorUrlFilter("http://h/a.txt#b.zip?c", ".zip", out));
    EXPECT_EQ(0, PellicorUrlFilter("http://h/a.txt#b.zip?c", ".txt", out));

    // No dot after the host: the extension runs from the host's dot.
    EXPECT_EQ(0, PellicorUrlFilter("http://h.com/download", ".exe", out));
    EXPECT_EQ(1, PellicorUrlFilter("http://h.com/download", ".com/download", out));
}

TEST(UrlFilterTest, SchemesAndEmptyInput) {
    CString out = "untouched";
    EXPECT_EQ(0, PellicorUrlFilter("mms://h/a.exe", ".exe", out));
    EXPECT_EQ(0, PellicorUrlFilter("mms://h/a.exe", "", out));
    EXPECT_EQ(0, PellicorUrlFilter(" \r\n\t\r\n ", "", out));
    EXPECT_EQ(0, PellicorUrlFilter("http:/", "", out));
    EXPECT_EQ(CString("untouched"), out);
    ASSERT_EQ(1, PellicorUrlFilter("ssn://anything", ".exe", out));
    EXPECT_EQ(CString("ssn://anything"), out);
    ASSERT_EQ(1, PellicorUrlFilter("FTP://h/a", "", out));
    EXPECT_EQ(CString("FTP://h/a"), out);
}

TEST(UrlFilterTest, JoinsLineBreaksAndUnwrapsLinks) {
    CString out;
    ASSERT_EQ(1, PellicorUrlFilter("  http://h/a\n.exe\r\n", ".exe", out));
    EXPECT_EQ(CString("http://h/a.exe"), out);
    ASSERT_EQ(1, PellicorUrlFilter(Thunder("http://h/a.zip"), ".zip", out));
    EXPECT_EQ(CString("http://h/a.zip"), out);
    ASSERT_EQ(1, PellicorUrlFilter("FlashGet://" + Flashget("http://h/b.rar").Mid(11), "", out));
    EXPECT_EQ(CString("http://h/b.rar"), out);
    ASSERT_EQ(1, PellicorUrlFilter(QQDownload("ftp://h/c.exe"), ".exe", out));
    EXPECT_EQ(CString("ftp://h/c.exe"), out);
    // A wrapped link must still lead to http:// or ftp://.
    out = "untouched";
    EXPECT_EQ(0, PellicorUrlFilter(QQDownload("mms://h/c.exe"), "", out));
    EXPECT_EQ(0, PellicorUrlFilter("thunder://short", "", out));
    EXPECT_EQ(CString("untouched"), out);
}

TEST(UrlFilterTest, MalformedWrappedLinkRaisesInvalidArgument) {
    CString out = "untouched";
    try {
        PellicorUrlFilter("thunder://QUFodHRwOi8vaC9hLnppcFpaQ", ".zip", out);
        FAIL() << "no error raised";
    } catch (const CStringError& error) {
        EXPECT_EQ(kStringErrorInvalidArg, error.GetHResult());
    }
    EXPECT_EQ(CString("untouched"), out);
}

}  // namespace
