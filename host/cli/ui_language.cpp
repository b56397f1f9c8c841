#include "host/cli/ui_language.h"

#include <cstdlib>

#include "tolvane/numbers.h"

namespace tlhost {

UiLanguage LanguageFromSettings(const std::function<const char*(const char*)>& variable) {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = variable(name);
    if (!value || !*value) continue;
    return std::string(value).rfind("ja", 0) == 0 ? UiLanguage::Japanese : UiLanguage::English;
  }
  return UiLanguage::English;
}

UiLanguage LanguageFromEnvironment() {
  return LanguageFromSettings([](const char* name) { return std::getenv(name); });
}

std::optional<UiLanguage> LanguageFromOption(const std::string& word) {
  if (word == "ja") return UiLanguage::Japanese;
  if (word == "en") return UiLanguage::English;
  return std::nullopt;
}

int32_t HostLanguageCode(UiLanguage language) {
  return language == UiLanguage::Japanese ? tolvane::LANG_JAPANESE : tolvane::LANG_ENGLISH;
}

}  // namespace tlhost
