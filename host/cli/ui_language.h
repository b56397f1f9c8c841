// The language the command line speaks to its user in, and tells the plug-in as the host's
// interface language: from the locale settings, or from --lang.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tlhost {

enum class UiLanguage { English, Japanese };

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty, as POSIX orders them:
// Japanese when it starts with "ja", English otherwise and when none is set. `variable` answers
// a variable's value, or null when it is not set.
UiLanguage LanguageFromSettings(const std::function<const char*(const char*)>& variable);
UiLanguage LanguageFromEnvironment();

// The value of --lang: "ja" or "en"; nothing for any other word.
std::optional<UiLanguage> LanguageFromOption(const std::string& word);

// The host's code for the language (tolvane::LANG_*), as the session's language property holds it.
int32_t HostLanguageCode(UiLanguage language);

}  // namespace tlhost
