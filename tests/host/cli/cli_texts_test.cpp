// The command line's sentences: every one in every language, with the same values to fill.
#include "host/cli/cli_texts.h"

#include <gtest/gtest.h>

#include <string>

#include "host/cli/client_call.h"
#include "host/cli/error_text.h"
#include "host/cli/usage.h"
#include "text_places.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

using osprevan::fixtures::PlacesOf;

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

// The engine's and the plug-in's reasons in words: the user's language on the console, and
// English for the report, which programs read.
TEST(CliTextsTest, ReasonsInWordsFollowTheLanguage) {
  const struct {
    const char* name;
    std::string english, japanese;
    std::string (*say)(UiLanguage);
  } cases[] = {
      {"EngineError", "no such object", "オブジェクトがありません",
       [](UiLanguage l) { return ErrorText(l, tolvane::ERR_BAD_OBJECT); }},
      {"UnknownEngineError", "error 9999", "エラー 9999",
       [](UiLanguage l) { return ErrorText(l, 9999); }},
      {"Refusal", "not tagged", "タグ付き PDF ではありません",
       [](UiLanguage l) { return RefusalWords(l, 6); }},
      {"UnknownRefusal", "", "", [](UiLanguage l) { return RefusalWords(l, 99); }},
      {"NoRefusal", "", "", [](UiLanguage l) { return RefusalWords(l, 0); }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.say(UiLanguage::English), c.english) << c.name;
    EXPECT_EQ(c.say(UiLanguage::Japanese), c.japanese) << c.name;
  }
}

// Every command has its help and usage line in every language, with the synopsis as it is.
TEST(CliTextsTest, EveryCommandHasItsHelpInEveryLanguage) {
  for (UiLanguage language : kLanguages) {
    const std::string help = HelpText(language);
    for (const char* command : {"show", "menus", "run", "import", "export-pdf", "help"}) {
      const std::string usage = CommandUsage(language, command);
      EXPECT_NE(usage.find(std::string("tolvane ") + command), std::string::npos) << usage;
      EXPECT_EQ(CommandHelpText(language, command).rfind(usage + "\n\n", 0), 0u) << command;
      EXPECT_NE(help.find("\n  " + usage.substr(usage.find(command))), std::string::npos)
          << command << " is not in the help";
    }
    EXPECT_EQ(CommandUsage(language, "shade"), "");
    EXPECT_EQ(CommandHelpText(language, "shade"), "");
  }
  EXPECT_NE(HelpText(UiLanguage::English), HelpText(UiLanguage::Japanese));
}

}  // namespace
}  // namespace tlhost
