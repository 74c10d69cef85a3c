#include "base/language.h"

#include <gtest/gtest.h>

namespace {

using velmora::ChooseLanguage;
using velmora::Language;
using velmora::LanguageNamed;
using velmora::text_check::HasChinesePunctuation;
using velmora::text_check::SameHoles;

// The pair's checks run while compiling; these rows are the rules.
static_assert(SameHoles("共 %s 个", "%s in all"));
static_assert(SameHoles("%s 和 %d", "%s and %d"));
static_assert(SameHoles("100%% 完成 %s", "%s done"));
static_assert(SameHoles("%-5s %ld", "%-8s %lu") == false);  // d against u
static_assert(!SameHoles("%s 到 %d", "%d from %s"));
static_assert(!SameHoles("%s", ""));
static_assert(!SameHoles("%s %s", "%s"));
static_assert(SameHoles("无", "none"));
static_assert(HasChinesePunctuation("Done，next"));
static_assert(HasChinesePunctuation("Name：x"));
static_assert(HasChinesePunctuation("“quoted”"));
static_assert(!HasChinesePunctuation("Done, next: \"quoted\" (English / 英文)"));

TEST(LanguageTest, NamesAndPrecedence) {
    EXPECT_EQ(LanguageNamed("en"), Language::kEnglish);
    EXPECT_EQ(LanguageNamed("EN-us"), Language::kEnglish);
    EXPECT_EQ(LanguageNamed("zh_CN"), Language::kChinese);
    EXPECT_EQ(LanguageNamed("english"), std::nullopt);
    EXPECT_EQ(LanguageNamed("e"), std::nullopt);
    EXPECT_EQ(LanguageNamed(""), std::nullopt);

    struct Row {
        std::optional<std::string_view> flag, environment, remembered;
        Language expected;
    } const rows[] = {
        {std::nullopt, std::nullopt, std::nullopt, Language::kChinese},
        {std::nullopt, std::nullopt, "en", Language::kEnglish},
        {std::nullopt, "zh", "en", Language::kChinese},
        {"en", "zh", "zh", Language::kEnglish},
        {"fr", "en", "zh", Language::kEnglish},  // a name that is no language passes on
        {"", "", "", Language::kChinese},
    };
    for (const Row& row : rows) EXPECT_EQ(ChooseLanguage(row.flag, row.environment, row.remembered), row.expected);
}

TEST(LanguageTest, TextReadsAsTheCurrentLanguage) {
    constexpr velmora::Text kDone{"完成", "Done"};
    EXPECT_STREQ(static_cast<const char*>(kDone), "完成");
    velmora::UseLanguage(Language::kEnglish);
    EXPECT_STREQ(static_cast<const char*>(kDone), "Done");
    velmora::UseLanguage(Language::kChinese);
}

}  // namespace
