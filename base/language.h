// The two languages Velmora speaks and the text type that carries both.
// Chinese is the default everywhere; English is the user's choice.
//
// Every text a person reads is a `Text`: its Chinese and its English side by
// side where it is defined. The pair is checked while compiling: a text that
// lacks one language, whose two languages have different printf-style holes
// (count, order or kind), or whose English uses Chinese punctuation does not
// build. A `Text` reads as the current language wherever a `const char*` is
// expected.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

enum class Language { kChinese, kEnglish };

// The language texts are read in; Chinese until UseLanguage says otherwise.
Language CurrentLanguage() noexcept;
void UseLanguage(Language language) noexcept;

// "zh" and "en" (any case, also "zh-CN", "en-US" and the like); nothing for
// any other name.
std::optional<Language> LanguageNamed(std::string_view name) noexcept;
// "zh" or "en".
const char* LanguageName(Language language) noexcept;

// The language to use: the first of an explicit choice (the console's
// --lang), the environment's VELMORA_LANG and the user's remembered choice
// that names a language; Chinese when none does.
Language ChooseLanguage(std::optional<std::string_view> explicitChoice,
                        std::optional<std::string_view> environment,
                        std::optional<std::string_view> remembered) noexcept;

namespace text_check {

// The next printf-style hole of `text` at or after `at` ("%%" is no hole):
// its conversion letter, with `at` moved past it; 0 at the end.
consteval char NextHole(const char* text, int& at) {
    while (text[at] != 0) {
        if (text[at++] != '%') continue;
        if (text[at] == '%') {
            ++at;
            continue;
        }
        while (text[at] != 0 && (text[at] == '-' || text[at] == '+' || text[at] == ' ' || text[at] == '#' ||
                                 text[at] == '.' || text[at] == '*' || (text[at] >= '0' && text[at] <= '9') ||
                                 text[at] == 'l' || text[at] == 'h' || text[at] == 'z' || text[at] == 'L')) {
            ++at;
        }
        if (text[at] == 0) return '?';
        return text[at++];
    }
    return 0;
}

consteval bool SameHoles(const char* a, const char* b) {
    int atA = 0;
    int atB = 0;
    for (;;) {
        const char holeA = NextHole(a, atA);
        if (holeA != NextHole(b, atB)) return false;
        if (holeA == 0) return true;
    }
}

// Chinese punctuation in code page 936: 、。“”‘’（）！，：；？ and the
// full-width ideographic space.
consteval bool HasChinesePunctuation(const char* text) {
    for (int at = 0; text[at] != 0; ++at) {
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        if (lead < 0x81) continue;
        const unsigned char trail = static_cast<unsigned char>(text[at + 1]);
        if (trail == 0) return true;  // half a character
        ++at;
        if (lead == 0xA1 &&
            (trail == 0xA1 || trail == 0xA2 || trail == 0xA3 || (trail >= 0xAE && trail <= 0xB1)))
            return true;
        if (lead == 0xA3 && (trail == 0xA1 || trail == 0xA8 || trail == 0xA9 || trail == 0xAC ||
                             trail == 0xBA || trail == 0xBB || trail == 0xBF))
            return true;
    }
    return false;
}

consteval bool IsEmpty(const char* text) { return text[0] == 0; }

}  // namespace text_check

class Text {
public:
    consteval Text(const char* chinese, const char* english) : chinese_(chinese), english_(english) {
        if (text_check::IsEmpty(chinese) != text_check::IsEmpty(english))
            throw "a text must have both languages or neither";
        if (!text_check::SameHoles(chinese, english))
            throw "the two languages of a text must have the same holes in the same order";
        if (text_check::HasChinesePunctuation(english)) throw "an English text uses Chinese punctuation";
    }

    constexpr const char* chinese() const noexcept { return chinese_; }
    constexpr const char* english() const noexcept { return english_; }
    const char* in(Language language) const noexcept {
        return language == Language::kEnglish ? english_ : chinese_;
    }
    // NOLINTNEXTLINE(google-explicit-constructor): a text reads as its current language
    operator const char*() const noexcept { return in(CurrentLanguage()); }
    // Compared as the text it reads as now.
    friend bool operator==(const Text& text, std::string_view other) noexcept {
        return other == text.in(CurrentLanguage());
    }
    friend std::string operator+(std::string before, const Text& text) {
        return before += text.in(CurrentLanguage());
    }

private:
    const char* chinese_;
    const char* english_;
};

}  // namespace velmora
