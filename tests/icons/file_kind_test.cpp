// Extension codes and header probes.
#include "icons/file_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora {
namespace {

TEST(ClassifyFileExtension, CodesInAnyCase) {
    const struct {
        const char* path;
        int code;
    } cases[] = {
        {"C:\\x\\a.com", 1},
        {"a.BAT", 2},
        {"a.Cmd", 3},
        {"a.pIf", 4},
        {"link.LNK", 5},
        {"a.ico", 6},
        {"C:\\Tools\\my.app.EXE", 7},
        {"\xB2\xE2\xCA\xD4.exe", 7},
        {"a.exe.txt", 0},
        {"noextension", 0},
        {"a.", 0},
        {"a.ex", 0},
        {"C:\\dir.v1\\file", 0},
        // The four bytes from the last dot decide, wherever that dot is.
        {"a.exee", 7},
        {"a.exe ", 7},
        {"C:\\x.bat\\noext", 2},
        {"C:\\X.LNK\\a", 5},
    };
    for (const auto& c : cases) EXPECT_EQ(ClassifyFileExtension(c.path), c.code) << c.path;
    EXPECT_EQ(ClassifyFileExtension(nullptr), 0);
    for (int code = 0; code <= 7; ++code) EXPECT_EQ(IsExcludedExtension(code), code >= 1 && code <= 5);
}

FileContentKind Probe(std::string bytes) {
    return ProbeFileContent(Bytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

TEST(ProbeFileContent, Headers) {
    using K = FileContentKind;
    EXPECT_EQ(Probe(std::string("\0\0\1\0\1\0\x30\x30\0\0\0\0", 12)), K::IconFile);
    EXPECT_EQ(Probe(std::string("\0\0\2\0\3\0\x20\x20\0\0\0\0", 12)), K::IconFile);  // cursor
    EXPECT_EQ(Probe(std::string("\0\0\3\0\1\0\x20\x20\0\0\0\0", 12)), K::Unknown);
    EXPECT_EQ(Probe(std::string("\0\0\1\0\0\0\x20\x20\0\0\0\0", 12)), K::Unknown);  // no image
    EXPECT_EQ(Probe(std::string("RIFF\x10\0\0\0ACONanih", 16)), K::AnimatedCursor);
    EXPECT_EQ(Probe(std::string("RIFF\x10\0\0\0WAVEfmt ", 16)), K::Unknown);
    EXPECT_EQ(Probe(std::string("RIFX\x10\0\0\0ACONanih", 16)), K::Unknown);
    EXPECT_EQ(Probe(std::string("BM\x36\0\0\0\0\0\0\0\x36\0", 12)), K::Bitmap);
    EXPECT_EQ(Probe(std::string("MZ\x90\0\3\0\0\0\4\0\0\0", 12)), K::Executable);
    EXPECT_EQ(Probe("ZM0123456789"), K::Unknown);
    EXPECT_EQ(Probe("\x7F"
                    "ELF01234567"),
              K::Unknown);
    // Fewer than 12 bytes is never enough, whatever they start with.
    for (std::size_t n = 0; n < 12; ++n)
        EXPECT_EQ(Probe(std::string("MZ\x90\0\3\0\0\0\4\0\0\0", n)), K::Unknown);
}

}  // namespace
}  // namespace velmora
