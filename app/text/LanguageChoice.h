// The user's remembered language: the value "Language" ("en" or "zh") of
// HKEY_CURRENT_USER\Software\Velmora, which the window menu's English item
// writes and the windows, the console and the launchers read.
#pragma once

#include <optional>
#include <string>

#include "app/registry/RegistryAccess.h"
#include "base/language.h"

extern const char16_t* const kVelmoraSettingsKey;  // Software\Velmora
extern const char16_t* const kLanguageValueName;   // Language

// The remembered choice as written ("en", "zh"), or nothing when there is
// none or it is no plain ASCII name.
std::optional<std::string> RememberedLanguageName(IRegistry& registry, RegKey currentUser);

// Writes the choice; true when it was stored.
bool RememberLanguage(IRegistry& registry, RegKey currentUser, velmora::Language language);
