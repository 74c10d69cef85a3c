// The .reg format both ways: every value type and escape written as the
// registry editor writes it and read back to the same bytes, what the editor
// itself writes (comments, wrapped lists, deletions, the old header) read,
// and every kind of damage refused with its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/registry/RegFile.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Utf16(const std::u16string& text, bool bom = true) {
    Bytes bytes;
    if (bom) bytes = {0xFF, 0xFE};
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

std::u16string TextOf(const Bytes& file) {
    std::u16string text;
    for (std::size_t i = 2; i + 1 < file.size(); i += 2) text.push_back(static_cast<char16_t>(file[i] | file[i + 1] << 8));
    return text;
}

const std::u16string kHeader = u"Windows Registry Editor Version 5.00\r\n\r\n";
const std::u16string kKey = u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ed.exe";

RegFileParse Parse(const Bytes& file) { return ParseRegFile(file.data(), file.size()); }

struct ValueRow {
    const char* what;
    RegFileValue value;
    std::u16string line;  // as written, without its line end
};

RegFileValue Value(const std::u16string& name, std::uint32_t type, Bytes data) {
    RegFileValue value;
    value.name = name;
    value.type = type;
    value.data = std::move(data);
    return value;
}

Bytes Sz(const std::u16string& text) {
    Bytes bytes = Utf16(text, false);
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::vector<ValueRow> ValueRows() {
    return {
        {"default text", Value(u"", 1, Sz(u"C:\\Tools\\ed.exe")), u"@=\"C:\\\\Tools\\\\ed.exe\""},
        {"quote and backslash in name and text", Value(u"a\"b\\c", 1, Sz(u"say \"hi\" \\")),
         u"\"a\\\"b\\\\c\"=\"say \\\"hi\\\" \\\\\""},
        {"Chinese text", Value(u"名字", 1, Sz(u"程序")), u"\"名字\"=\"程序\""},
        {"empty text", Value(u"Empty", 1, Sz(u"")), u"\"Empty\"=\"\""},
        {"text without its zero", Value(u"NoZero", 1, Utf16(u"ab", false)), u"\"NoZero\"=hex(1):61,00,62,00"},
        {"text with a line break", Value(u"Lines", 1, Sz(u"a\nb")), u"\"Lines\"=hex(1):61,00,0a,00,62,00,00,00"},
        {"text with a zero inside", Value(u"Zero", 1, Bytes{0x61, 0, 0, 0, 0x62, 0, 0, 0}),
         u"\"Zero\"=hex(1):61,00,00,00,62,00,00,00"},
        {"text of odd size", Value(u"Odd", 1, Bytes{0x61, 0, 0}), u"\"Odd\"=hex(1):61,00,00"},
        {"line breaks in a name", Value(u"a\r\nb", 1, Sz(u"x")), u"\"a\\r\\nb\"=\"x\""},
        {"dword", Value(u"UseUrl", 4, Bytes{1, 0, 0, 0}), u"\"UseUrl\"=dword:00000001"},
        {"dword all bits", Value(u"Max", 4, Bytes{0xEF, 0xBE, 0xAD, 0xDE}), u"\"Max\"=dword:deadbeef"},
        {"dword of wrong size", Value(u"Short", 4, Bytes{1, 2}), u"\"Short\"=hex(4):01,02"},
        {"binary", Value(u"Blob", 3, Bytes{0x00, 0xFF, 0x10}), u"\"Blob\"=hex:00,ff,10"},
        {"empty binary", Value(u"Nothing", 3, Bytes{}), u"\"Nothing\"=hex:"},
        {"expand", Value(u"Path", 2, Sz(u"%A%")), u"\"Path\"=hex(2):25,00,41,00,25,00,00,00"},
        {"multi", Value(u"SupportedProtocols", 7, Bytes{0x61, 0, 0, 0, 0x62, 0, 0, 0, 0, 0}),
         u"\"SupportedProtocols\"=hex(7):61,00,00,00,62,00,00,00,00,00"},
        {"qword", Value(u"Q", 11, Bytes{1, 2, 3, 4, 5, 6, 7, 8}), u"\"Q\"=hex(b):01,02,03,04,05,06,07,08"},
        {"none", Value(u"N", 0, Bytes{}), u"\"N\"=hex(0):"},
        {"none with bytes", Value(u"N", 0, Bytes{9}), u"\"N\"=hex(0):09"},
        {"type above 15", Value(u"Odd type", 0x12345, Bytes{7}), u"\"Odd type\"=hex(12345):07"},
        {"big-endian dword", Value(u"Be", 5, Bytes{0, 0, 0, 1}), u"\"Be\"=hex(5):00,00,00,01"},
        {"expand as default", Value(u"", 2, Sz(u"x")), u"@=hex(2):78,00,00,00"},
    };
}

TEST(RegFileTest, EveryValueTypeIsWrittenAsTheEditorWritesItAndReadBackToTheSameBytes) {
    for (const ValueRow& row : ValueRows()) {
        SCOPED_TRACE(row.what);
        RegFileKey key;
        key.path = kKey;
        key.values.push_back(row.value);
        const Bytes file = WriteRegFile({key});
        EXPECT_EQ(TextOf(file), kHeader + u"[" + kKey + u"]\r\n" + row.line + u"\r\n\r\n");
        const RegFileParse parse = Parse(file);
        ASSERT_TRUE(parse.ok()) << static_cast<int>(parse.error) << " at " << parse.errorLine;
        ASSERT_EQ(parse.keys.size(), 1u);
        EXPECT_EQ(parse.keys[0].path, kKey);
        EXPECT_EQ(parse.keys[0].line, 3);
        ASSERT_EQ(parse.keys[0].values.size(), 1u);
        const RegFileValue& read = parse.keys[0].values[0];
        EXPECT_EQ(read.name, row.value.name);
        EXPECT_EQ(read.type, row.value.type);
        EXPECT_EQ(read.data, row.value.data);
        EXPECT_EQ(read.line, 4);
    }
}

TEST(RegFileTest, LongListsWrapAfterACommaWithinEightyColumnsAndReadBackWhole) {
    for (const std::size_t size : {22u, 23u, 100u, 1000u}) {
        SCOPED_TRACE(size);
        RegFileKey key;
        key.path = kKey;
        Bytes data(size);
        for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<unsigned char>(i * 7);
        key.values.push_back(Value(u"Blob", 3, data));
        key.values.push_back(Value(u"After", 1, Sz(u"x")));
        const Bytes file = WriteRegFile({key});
        const std::u16string text = TextOf(file);
        std::size_t start = 0;
        int continued = 0;
        for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2) {
            const std::u16string line = text.substr(start, end - start);
            EXPECT_LE(line.size(), 80u) << std::string(line.begin(), line.end());
            if (!line.empty() && line.back() == u'\\') {
                ++continued;
                EXPECT_EQ(line[line.size() - 2], u',');
            }
        }
        EXPECT_EQ(continued > 0, size > 22);
        const RegFileParse parse = Parse(file);
        ASSERT_TRUE(parse.ok()) << parse.errorLine;
        ASSERT_EQ(parse.keys.at(0).values.size(), 2u);
        EXPECT_EQ(parse.keys[0].values[0].data, data);
        EXPECT_EQ(parse.keys[0].values[1].name, u"After");
    }
}

TEST(RegFileTest, WhatTheEditorWritesIsRead) {
    struct Row {
        const char* what;
        std::u16string body;  // after the header
        std::vector<RegFileKey> keys;
    };
    const auto key = [](std::u16string path, int line, std::vector<RegFileValue> values, bool deletion = false) {
        RegFileKey k;
        k.path = std::move(path);
        k.line = line;
        k.values = std::move(values);
        k.deletion = deletion;
        return k;
    };
    const auto value = [](std::u16string name, std::uint32_t type, Bytes data, int line, bool deletion = false) {
        RegFileValue v = Value(name, type, std::move(data));
        v.line = line;
        v.deletion = deletion;
        return v;
    };
    const std::vector<Row> rows = {
        {"comments, blank lines and blanks around =", u"; a comment\r\n\r\n[K]\r\n  ; inside\r\n\"a\" = \"1\"\r\n\r\n",
         {key(u"K", 5, {value(u"a", 1, Sz(u"1"), 7)})}},
        {"LF line ends", u"[K]\n@=\"x\"\n", {key(u"K", 3, {value(u"", 1, Sz(u"x"), 4)})}},
        {"no line end at the end", u"[K]\r\n\"d\"=dword:1", {key(u"K", 3, {value(u"d", 4, Bytes{1, 0, 0, 0}, 4)})}},
        {"upper-case hex and one digit items", u"[K]\r\n\"b\"=hex:A,0B,ff\r\n",
         {key(u"K", 3, {value(u"b", 3, Bytes{0x0A, 0x0B, 0xFF}, 4)})}},
        {"wrapped list with blanks", u"[K]\r\n\"b\"=hex:01, 02,\\\r\n    03\r\n\"c\"=\"\"\r\n",
         {key(u"K", 3, {value(u"b", 3, Bytes{1, 2, 3}, 4), value(u"c", 1, Sz(u""), 6)})}},
        {"escaped line breaks", u"[K]\r\n\"t\"=\"a\\nb\\r\"\r\n", {key(u"K", 3, {value(u"t", 1, Sz(u"a\nb\r"), 4)})}},
        {"deletions", u"[-K\\old]\r\n[K]\r\n\"gone\"=-\r\n",
         {key(u"K\\old", 3, {}, true), key(u"K", 4, {value(u"gone", 0, Bytes{}, 5, true)})}},
        {"a key twice", u"[K]\r\n[K]\r\n", {key(u"K", 3, {}), key(u"K", 4, {})}},
        {"a bracket inside the key", u"[K\\a]b]\r\n", {key(u"K\\a]b", 3, {})}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const RegFileParse parse = Parse(Utf16(kHeader + row.body));
        ASSERT_TRUE(parse.ok()) << static_cast<int>(parse.error) << " at " << parse.errorLine;
        EXPECT_EQ(parse.keys, row.keys);
    }
}

TEST(RegFileTest, TheOldHeaderReadsCodePage936Text) {
    // REGEDIT4, "名"="程序" and a multi-string "a","中" as code page 936 bytes.
    const std::string file = "REGEDIT4\r\n\r\n[K]\r\n\"\xC3\xFB\"=\"\xB3\xCC\xD0\xF2\"\r\n"
                             "\"m\"=hex(7):61,00,d6,d0,00,00\r\n\"b\"=hex:d6,d0\r\n";
    const RegFileParse parse = ParseRegFile(reinterpret_cast<const unsigned char*>(file.data()), file.size());
    ASSERT_TRUE(parse.ok()) << parse.errorLine;
    ASSERT_EQ(parse.keys.at(0).values.size(), 3u);
    EXPECT_EQ(parse.keys[0].values[0].name, u"名");
    EXPECT_EQ(parse.keys[0].values[0].data, Sz(u"程序"));
    EXPECT_EQ(parse.keys[0].values[1].data, (Bytes{0x61, 0, 0, 0, 0x2D, 0x4E, 0, 0, 0, 0}));
    // Binary stays as it is.
    EXPECT_EQ(parse.keys[0].values[2].data, (Bytes{0xD6, 0xD0}));
}

TEST(RegFileTest, DamageIsRefusedWithItsLineAndNothingKept) {
    struct Row {
        const char* what;
        Bytes file;
        RegFileError error;
        int line;
    };
    const auto body = [](const std::u16string& text) { return Utf16(kHeader + u"[K]\r\n\"ok\"=\"1\"\r\n" + text); };
    Bytes odd = body(u"\"x\"=\"1\"\r\n");
    odd.pop_back();
    std::vector<Row> rows = {
        {"no byte order mark", Utf16(kHeader, false), RegFileError::kBadHeader, 1},
        {"wrong header", Utf16(u"Windows Registry Editor Version 4.00\r\n[K]\r\n"), RegFileError::kBadHeader, 1},
        {"header not on the first line", Utf16(u"\r\n" + kHeader), RegFileError::kBadHeader, 1},
        {"empty file", Bytes{}, RegFileError::kBadHeader, 1},
        {"byte order mark only", Bytes{0xFF, 0xFE}, RegFileError::kBadHeader, 1},
        {"text of another tool", Utf16(u"hello\r\n"), RegFileError::kBadHeader, 1},
        {"cut in a wrapped list", body(u"\"b\"=hex:01,02,\\\r\n"), RegFileError::kCutOff, 5},
        {"cut after a comma", body(u"\"b\"=hex:01,02,"), RegFileError::kCutOff, 5},
        {"cut in a text", body(u"\"x\"=\"abc"), RegFileError::kCutOff, 5},
        {"cut in a name", body(u"\"ab"), RegFileError::kCutOff, 5},
        {"cut after =", body(u"\"x\"="), RegFileError::kCutOff, 5},
        {"cut in a key line", body(u"[HKEY_CURRENT_USER\\Sof"), RegFileError::kCutOff, 5},
        {"cut in half a code unit", odd, RegFileError::kCutOff, 5},
        {"cut in hex(", body(u"\"x\"=hex(2"), RegFileError::kCutOff, 5},
        {"bad escape", body(u"\"x\"=\"a\\qb\"\r\n"), RegFileError::kBadEscape, 5},
        {"bad escape in a name", body(u"\"a\\tb\"=\"1\"\r\n"), RegFileError::kBadEscape, 5},
        {"escape at the line end", body(u"\"x\"=\"a\\\r\n[K2]\r\n"), RegFileError::kBadString, 5},
        {"unclosed text with more lines", body(u"\"x\"=\"a\r\n[K2]\r\n"), RegFileError::kBadString, 5},
        {"bad hex digit", body(u"\"b\"=hex:01,zz\r\n"), RegFileError::kBadHex, 5},
        {"three digits", body(u"\"b\"=hex:012\r\n"), RegFileError::kBadHex, 5},
        {"two commas", body(u"\"b\"=hex:01,,02\r\n"), RegFileError::kBadHex, 5},
        {"list ends in a comma", body(u"\"b\"=hex:01,\r\n[K2]\r\n"), RegFileError::kBadHex, 5},
        {"text after the backslash", body(u"\"b\"=hex:01,\\ x\r\n02\r\n"), RegFileError::kBadHex, 5},
        {"bad hex on a continued line", body(u"\"b\"=hex:01,\\\r\n  0g\r\n"), RegFileError::kBadHex, 6},
        {"dword too long", body(u"\"d\"=dword:123456789\r\n"), RegFileError::kBadDword, 5},
        {"dword not hex", body(u"\"d\"=dword:12x\r\n"), RegFileError::kBadDword, 5},
        {"dword empty", body(u"\"d\"=dword:\r\n[K2]\r\n"), RegFileError::kBadDword, 5},
        {"bad type", body(u"\"x\"=hex(z):00\r\n"), RegFileError::kBadType, 5},
        {"type too long", body(u"\"x\"=hex(123456789):00\r\n"), RegFileError::kBadType, 5},
        {"unknown data", body(u"\"x\"=str(2):\"a\"\r\n"), RegFileError::kBadLine, 5},
        {"text after a text", body(u"\"x\"=\"a\" b\r\n"), RegFileError::kBadLine, 5},
        {"no equals sign", body(u"\"x\" \"a\"\r\n"), RegFileError::kBadLine, 5},
        {"stray line", body(u"x=1\r\n"), RegFileError::kBadLine, 5},
        {"key line without bracket", body(u"[K2\r\n\"a\"=\"1\"\r\n"), RegFileError::kBadKeyLine, 5},
        {"empty key", body(u"[]\r\n"), RegFileError::kBadKeyLine, 5},
        {"value before a key", Utf16(kHeader + u"\"x\"=\"1\"\r\n"), RegFileError::kValueOutsideKey, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const RegFileParse parse = Parse(row.file);
        EXPECT_EQ(parse.error, row.error);
        EXPECT_EQ(parse.errorLine, row.line);
        EXPECT_TRUE(parse.keys.empty());
    }
}

TEST(RegFileTest, DeletionsAreWrittenAsTheyAreRead) {
    RegFileKey gone;
    gone.path = u"K\\old";
    gone.deletion = true;
    RegFileKey kept;
    kept.path = u"K";
    RegFileValue value = Value(u"v", 0, {});
    value.deletion = true;
    kept.values.push_back(value);
    EXPECT_EQ(TextOf(WriteRegFile({gone, kept})), kHeader + u"[-K\\old]\r\n\r\n[K]\r\n\"v\"=-\r\n\r\n");
}

TEST(RegFileTest, RootNamesBothWays) {
    RegFileRoot root{};
    ASSERT_TRUE(ParseRegFileRoot(u"hkey_local_machine", &root));
    EXPECT_EQ(root, RegFileRoot::kLocalMachine);
    ASSERT_TRUE(ParseRegFileRoot(u"HKCU", &root));
    EXPECT_EQ(root, RegFileRoot::kCurrentUser);
    EXPECT_FALSE(ParseRegFileRoot(u"HKEY_CLASSES_ROOT", &root));
    EXPECT_FALSE(ParseRegFileRoot(u"HKEY_CURRENT_USER2", &root));
    EXPECT_EQ(CStringW(RegFileRootName(RegFileRoot::kLocalMachine)), u"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(CStringW(RegFileRootName(RegFileRoot::kCurrentUser)), u"HKEY_CURRENT_USER");
}

}  // namespace
