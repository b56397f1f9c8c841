// The command line's sentences: every one in every language, with the same values to fill.
#include "host/cli/cli_texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "host/cli/error_text.h"

namespace tlhost {
namespace {

// The names of the "{name}" places of a text.
std::set<std::string> PlacesOf(const std::string& text) {
  std::set<std::string> places;
  for (size_t open = text.find('{'); open != std::string::npos; open = text.find('{', open + 1)) {
    const size_t close = text.find('}', open);
    if (close == std::string::npos) break;
    places.insert(text.substr(open + 1, close - open - 1));
  }
  return places;
}

constexpr UiLanguage kLanguages[] = {UiLanguage::English, UiLanguage::Japanese};

TEST(CliTextsTest, EveryTextExistsInEveryLanguageWithTheSamePlaces) {
  for (int key = 0; key < static_cast<int>(CliText::Count); ++key) {
    const char* english = CliTextOf(UiLanguage::English, static_cast<CliText>(key));
    ASSERT_NE(english, nullptr) << "text " << key << " has no English";
    for (UiLanguage language : kLanguages) {
      const char* text = CliTextOf(language, static_cast<CliText>(key));
      ASSERT_NE(text, nullptr) << "text " << key << " is missing in language "
                               << static_cast<int>(language);
      EXPECT_FALSE(std::string(text).empty()) << "text " << key;
      EXPECT_EQ(PlacesOf(text), PlacesOf(english)) << "text " << key << ": " << text;
    }
  }
}

TEST(CliTextsTest, JapaneseTextsAreTranslatedNotCopied) {
  for (int key = 0; key < static_cast<int>(CliText::Count); ++key) {
    EXPECT_STRNE(CliTextOf(UiLanguage::Japanese, static_cast<CliText>(key)),
                 CliTextOf(UiLanguage::English, static_cast<CliText>(key)))
        << "text " << key;
  }
}

TEST(CliTextsTest, ValuesAreFilledOnceAndNeverScannedAgain) {
  // A value that looks like a place stays as it is.
  EXPECT_EQ(Said(UiLanguage::English, CliText::CannotOpen, {{"path", "{why}.tlv"}, {"why", "x"}}),
            "tolvane: cannot open {why}.tlv: x");
  EXPECT_EQ(Filled("{a}{a}{b}", {{"a", "1"}}), "11{b}");
}

TEST(CliTextsTest, SentencesFollowTheLanguage) {
  const struct {
    const char* name;
    std::string english, japanese;
    std::string (*say)(UiLanguage);
  } cases[] = {
      {"WaitingForAProcess",
       "tolvane: d.tlv is being imported into by process 42; waiting up to 2.5 s",
       "tolvane: d.tlv にはプロセス 42 が読み込み中です。最大 2.5 秒待ちます",
       [](UiLanguage l) { return WaitingText(l, "d.tlv", 42, 2.5); }},
      {"WaitingForAnUnknownHolder",
       "tolvane: d.tlv is being imported into by another process; waiting up to 30 s",
       "tolvane: d.tlv には別のプロセスが読み込み中です。最大 30 秒待ちます",
       [](UiLanguage l) { return WaitingText(l, "d.tlv", 0, 30); }},
      {"NothingSaved", "Nothing was saved: dry run", "何も保存していません : dry run",
       [](UiLanguage l) { return NothingSavedText(l, kDryRunReason); }},
      {"NotAnOption", "--dry-run is not an option of show",
       "--dry-run は show のオプションではありません",
       [](UiLanguage l) { return NotAnOptionOfText(l, "--dry-run", "show"); }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.say(UiLanguage::English), c.english) << c.name;
    EXPECT_EQ(c.say(UiLanguage::Japanese), c.japanese) << c.name;
  }
}

}  // namespace
}  // namespace tlhost
