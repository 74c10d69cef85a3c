// The edges where text becomes UTF-16: the program's GBK texts, registry
// data as stored, and reads through buffers that must grow.
#include "base/wide_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using velmora::WideFrom936;

std::vector<unsigned char> StoredBytes(const CStringW& text, bool withZero) {
    std::vector<unsigned char> bytes;
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    if (withZero) bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

// A path as long as the platform's longest (32767 units), made of the
// characters that matter here.
CStringW LongestPath() {
    CStringW path = u"C:\\";
    while (path.size() + 9 < 32767) path += u"J\u00F6rg\uD55C\uAD6D\\";
    path.resize(32767 - 4);
    path += u".exe";
    return path;
}

TEST(WideFrom936Test, TheProgramsTextsBecomeTheirCharacters) {
    const struct {
        const char* gbk;
        CStringW wide;
    } cases[] = {
        {"添加运行命令", u"添加运行命令"},
        {"运行命令添加成功！", u"运行命令添加成功！"},
        {"命令“run”已指向：", u"命令“run”已指向："},
        {"管理运行命令…", u"管理运行命令…"},
        {"使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加",
         u"使用说明：拖拽Exe文件到此窗口->填写命令名称->点击添加"},
        {"run", u"run"},
        {"", u""},
        // Bytes spelled out: the source's literals are GBK already.
        {"\xCC\xED\xBC\xD3", u"\u6DFB\u52A0"},
        // A trail byte that looks like a backslash stays in its character.
        {"\x81\x5C", u"\u4E57"},
    };
    for (const auto& c : cases) EXPECT_EQ(WideFrom936(c.gbk), c.wide) << c.gbk;
    EXPECT_EQ(WideFrom936(nullptr), CStringW());
    // A length stops the text early.
    EXPECT_EQ(WideFrom936("添加运行命令", 4), u"添加");
}

TEST(WideFrom936Test, NarrowingIsItsInverseForWhat936Holds) {
    for (const char* text : {"添加运行命令", "当前用户", "C:\\测试\\程序.exe", ""}) {
        EXPECT_EQ(velmora::NarrowTo936(WideFrom936(text)), std::string(text)) << text;
    }
    // What 936 lacks becomes '?': the loss the tool's own paths must never see.
    EXPECT_EQ(velmora::NarrowTo936(u"C:\\J\u00F6rg \uD55C\uAD6D"), "C:\\J?rg ??");
}

TEST(WideFromRegistryDataTest, TextAsStored) {
    const CStringW unpaired = u"C:\\a\xD800z\\tool.exe";  // a lone high surrogate
    const CStringW longest = LongestPath();
    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
        CStringW text;
    } cases[] = {
        {"with its zero", StoredBytes(u"C:\\Tools\\J\u00F6rg \uD55C\uAD6D\\tool.exe", true),
         u"C:\\Tools\\J\u00F6rg \uD55C\uAD6D\\tool.exe"},
        {"without a zero", StoredBytes(u"C:\\a.exe", false), u"C:\\a.exe"},
        {"odd last byte",
         [] {
             auto b = StoredBytes(u"C:\\a.exe", false);
             b.push_back('x');
             return b;
         }(),
         u"C:\\a.exe"},
        {"text ends at the first zero", StoredBytes(CStringW(u"ab\0cd", 5), true), u"ab"},
        {"empty value", {}, u""},
        {"only a zero", {0, 0}, u""},
        {"one byte", {'a'}, u""},
        {"unpaired surrogate arrives whole", StoredBytes(unpaired, true), unpaired},
        {"a pair outside the basic plane", StoredBytes(u"\U0001F600.exe", true), u"\U0001F600.exe"},
        {"the longest path", StoredBytes(longest, true), longest},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(velmora::WideFromRegistryData(c.bytes.data(), c.bytes.size()), c.text) << c.what;
    }
    EXPECT_EQ(velmora::WideFromRegistryData(nullptr, 8), CStringW());
}

// A platform read of a text of `length` units as GetModuleFileNameW (or A)
// does it: at most capacity - 1 units and a zero; the capacity when cut.
template <typename Text>
struct FakeRead {
    Text text;
    std::vector<std::size_t> capacities;
    std::size_t operator()(typename Text::value_type* buffer, std::size_t capacity) {
        capacities.push_back(capacity);
        const std::size_t copied = text.size() < capacity ? text.size() : capacity - 1;
        text.copy(buffer, copied);
        buffer[copied] = typename Text::value_type();
        return text.size() < capacity ? text.size() : capacity;
    }
};

TEST(ReadGrowingTextTest, GrowsUntilTheWholeTextFits) {
    const CStringW longest = LongestPath();
    const struct {
        const char* what;
        CStringW text;
        std::vector<std::size_t> capacities;
        CStringW result;
    } cases[] = {
        {"short", u"C:\\a.exe", {260}, u"C:\\a.exe"},
        {"empty: a failed read", u"", {260}, u""},
        {"259 units fit the first buffer", CStringW(259, u'a'), {260}, CStringW(259, u'a')},
        {"260 units need a second", CStringW(260, u'a'), {260, 520}, CStringW(260, u'a')},
        {"the longest path", longest, {260, 520, 1040, 2080, 4160, 8320, 16640, 32768}, longest},
        {"longer than any path",
         CStringW(32768, u'a'),
         {260, 520, 1040, 2080, 4160, 8320, 16640, 32768},
         u""},
        {"unpaired surrogate arrives whole", u"C:\\\xDC00.exe", {260}, u"C:\\\xDC00.exe"},
    };
    for (const auto& c : cases) {
        FakeRead<CStringW> read{c.text, {}};
        EXPECT_EQ(velmora::ReadGrowingText(std::ref(read)), c.result) << c.what;
        EXPECT_EQ(read.capacities, c.capacities) << c.what;
    }
    // The library's narrow module path grows the same way past 260 bytes.
    FakeRead<std::string> narrow{std::string(300, 'a'), {}};
    EXPECT_EQ(velmora::ReadGrowing<std::string>(std::ref(narrow)), std::string(300, 'a'));
    EXPECT_EQ(narrow.capacities, (std::vector<std::size_t>{260, 520}));
}

TEST(ReadGrowingTextTest, AReadThatTellsTheLengthNeededGetsItAtOnce) {
    // DragQueryFileW-like: returns the full length when the buffer is short.
    std::vector<std::size_t> capacities;
    const CStringW text(1000, u'x');
    const auto read = [&](char16_t* buffer, std::size_t capacity) {
        capacities.push_back(capacity);
        if (text.size() >= capacity) return text.size();
        text.copy(buffer, text.size());
        return text.size();
    };
    EXPECT_EQ(velmora::ReadGrowingText(read), text);
    EXPECT_EQ(capacities, (std::vector<std::size_t>{260, 1001}));
}

TEST(WideTextRulesTest, FittingNeverCutsAPair) {
    const CStringW face = u"ab\U0001F600c";  // a, b, a pair, c
    const struct {
        std::size_t max;
        std::size_t fits;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 2}, {4, 4}, {5, 5}, {99, 5}};
    for (const auto& c : cases) EXPECT_EQ(velmora::FittingUnits(face, c.max), c.fits) << c.max;
    // An unpaired high surrogate is a unit of its own.
    EXPECT_EQ(velmora::FittingUnits(u"a\xD800"
                                    u"b",
                                    2),
              2u);
}

TEST(WideTextRulesTest, CStringMembersCountCodeUnitsAndClamp) {
    const CStringW path = u"C:\\J\u00F6rg\\\U0001F600.exe";  // C:\Jörg\<pair>.exe
    EXPECT_EQ(path.GetLength(), 14);
    EXPECT_EQ(path.ReverseFind(u'\\'), 7);
    EXPECT_EQ(path.Find(u'\\'), 2);
    EXPECT_EQ(path.Find(u'\\', 3), 7);
    EXPECT_EQ(path.Find(u'x', 99), -1);
    EXPECT_EQ(path.Find(u".exe"), 10);
    EXPECT_EQ(path.Left(2), u"C:");
    EXPECT_EQ(path.Left(-1), u"");
    EXPECT_EQ(path.Left(99), path);
    EXPECT_EQ(path.Mid(8, 2), u"\U0001F600");
    EXPECT_EQ(path.Mid(99), u"");
    EXPECT_EQ(path.Mid(-5, 2), u"C:");
    EXPECT_EQ(path.Right(4), u".exe");
    EXPECT_EQ(path.Right(99), path);

    EXPECT_EQ(CStringW(u" \t 记事本 \r\n").Trim(), u"记事本");
    EXPECT_EQ(CStringW(u" \t ").Trim(), u"");
    EXPECT_EQ(CStringW(u"\vname\f").Trim(), u"\vname\f");
    EXPECT_EQ(CStringW(u"\\a\\b\\ ").TrimRight(u" \\"), u"\\a\\b");
    EXPECT_EQ(CStringW(u"\\a\\b\\ ").TrimLeft(u" \\"), u"a\\b\\ ");
}

TEST(WideTextRulesTest, FillInTakesArgumentsAsText) {
    const struct {
        CStringW format;
        std::initializer_list<CStringW> args;
        CStringW text;
    } cases[] = {
        {u"命令“%s”已指向：%s", {u"ed", u"C:\\J\u00F6rg\\ed.exe"}, u"命令“ed”已指向：C:\\J\u00F6rg\\ed.exe"},
        {u"共 %s 个", {velmora::DecimalText(2000)}, u"共 2000 个"},
        {u"%s%s", {u"%s", u"x"}, u"%sx"},
        {u"a %s b %s", {u"1"}, u"a 1 b %s"},
        {u"none", {u"x"}, u"none"},
        {u"", {}, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(velmora::FillIn(c.format, c.args), c.text);
    EXPECT_EQ(velmora::DecimalText(-12), u"-12");
}

TEST(WideTextRulesTest, LetterCaseOfAsciiOnly) {
    EXPECT_EQ(CStringW(u"C:\\Tools\\ED.EXE").CompareNoCase(u"c:\\tools\\ed.exe"), 0);
    EXPECT_NE(CStringW(u"J\u00D6RG").CompareNoCase(u"j\u00F6rg"), 0);
    EXPECT_LT(CStringW(u"ab").CompareNoCase(u"ABC"), 0);
    EXPECT_GT(CStringW(u"b").CompareNoCase(u"A"), 0);
    EXPECT_EQ(CStringW(u"Notepad \u00C4").MakeLower(), u"notepad \u00C4");
    EXPECT_LT(CStringW(u"A").Compare(u"a"), 0);
}

}  // namespace
