#include "base/language.h"

#include <atomic>

namespace velmora {

namespace {

std::atomic<Language> g_language{Language::kChinese};

char Lower(char ch) noexcept { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

}  // namespace

Language CurrentLanguage() noexcept { return g_language.load(std::memory_order_relaxed); }

void UseLanguage(Language language) noexcept { g_language.store(language, std::memory_order_relaxed); }

std::optional<Language> LanguageNamed(std::string_view name) noexcept {
    if (name.size() < 2 || (name.size() > 2 && name[2] != '-' && name[2] != '_')) return std::nullopt;
    const char first = Lower(name[0]);
    const char second = Lower(name[1]);
    if (first == 'z' && second == 'h') return Language::kChinese;
    if (first == 'e' && second == 'n') return Language::kEnglish;
    return std::nullopt;
}

const char* LanguageName(Language language) noexcept { return language == Language::kEnglish ? "en" : "zh"; }

Language ChooseLanguage(std::optional<std::string_view> explicitChoice,
                        std::optional<std::string_view> environment,
                        std::optional<std::string_view> remembered) noexcept {
    for (const auto& choice : {explicitChoice, environment, remembered}) {
        if (!choice) continue;
        if (const std::optional<Language> language = LanguageNamed(*choice)) return *language;
    }
    return Language::kChinese;
}

}  // namespace velmora
