#include "app/text/LanguageChoice.h"

const char16_t* const kVelmoraSettingsKey = u"Software\\Velmora";
const char16_t* const kLanguageValueName = u"Language";

std::optional<std::string> RememberedLanguageName(IRegistry& registry, RegKey currentUser) {
    const CStringW stored = RegReadString(registry, currentUser, kVelmoraSettingsKey, kLanguageValueName);
    if (stored.IsEmpty() || stored.GetLength() > 16) return std::nullopt;
    std::string name;
    for (int i = 0; i < stored.GetLength(); ++i) {
        const char16_t unit = stored[i];
        if (unit < 0x21 || unit > 0x7E) return std::nullopt;
        name += static_cast<char>(unit);
    }
    return name;
}

bool RememberLanguage(IRegistry& registry, RegKey currentUser, velmora::Language language) {
    const char* name = velmora::LanguageName(language);
    return RegWriteString(registry, currentUser, kVelmoraSettingsKey, kLanguageValueName,
                          CStringW(std::u16string(name, name + 2).c_str()));
}
