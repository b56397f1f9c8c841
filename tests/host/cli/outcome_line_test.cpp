// The language the command line takes from the locale settings, and the last line of an import.
#include "host/cli/outcome_line.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "host/cli/ui_language.h"

namespace tlhost {
namespace {

TEST(UiLanguageTest, TheFirstSetVariableDecidesAndOnlyJaMeansJapanese) {
  const struct {
    const char* name;
    std::map<std::string, std::string> variables;
    UiLanguage expected;
  } cases[] = {
      {"NothingSet", {}, UiLanguage::English},
      {"LangJapanese", {{"LANG", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
      {"LangBareJa", {{"LANG", "ja"}}, UiLanguage::Japanese},
      {"LangC", {{"LANG", "C.UTF-8"}}, UiLanguage::English},
      {"LangOtherLanguage", {{"LANG", "de_DE.UTF-8"}}, UiLanguage::English},
      {"JaOnlyAtTheStart", {{"LANG", "en_US.ja"}}, UiLanguage::English},
      {"LcAllOverLang", {{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, UiLanguage::English},
      {"LcMessagesOverLang",
       {{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "C.UTF-8"}},
       UiLanguage::Japanese},
      {"EmptyLcAllCountsAsUnset", {{"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, UiLanguage::Japanese},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto variable = [&c](const char* name) -> const char* {
      const auto found = c.variables.find(name);
      return found == c.variables.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(LanguageFromSettings(variable), c.expected);
  }
  EXPECT_EQ(LanguageFromOption("ja"), UiLanguage::Japanese);
  EXPECT_EQ(LanguageFromOption("en"), UiLanguage::English);
  for (const char* word : {"", "JA", "japanese", "fr", "en_US"})
    EXPECT_EQ(LanguageFromOption(word), std::nullopt) << word;
}

TEST(OutcomeLineTest, CountsComeFromTheReportsOutcomesAndAnythingElseIsNoReport) {
  const std::string report = R"({"pdf": "r.pdf", "comments": [
  {"contents": "\"outcome\": \"failed\"", "outcome": "successful"},
  {"outcome": "successful"}, {"outcome": "misplaced"}, {"outcome": "failed"},
  {"outcome": "alreadyImported"}, {"outcome": "alreadyImported"}, {"outcome": "filtered out"}
], "warnings": []})";
  const std::optional<OutcomeCounts> counts = CountOutcomes(report);
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->placed, 2);
  EXPECT_EQ(counts->flagged, 1);
  EXPECT_EQ(counts->failed, 1);
  EXPECT_EQ(counts->alreadyImported, 2);
  for (const char* notAReport :
       {"", "{", "[]", R"({"comments": {}})", R"({"comments": [{"page": 1}]})",
        R"({"comments": [{"outcome": 3}]})", R"({"comments": [1]})"}) {
    EXPECT_EQ(CountOutcomes(notAReport), std::nullopt) << notAReport;
  }
}

// What the line says of the save, in each language; the counts are left out without a report.
TEST(OutcomeLineTest, SaysWhetherTheDocumentWasSavedAndWhyNot) {
  using Saving = ImportEnd::Saving;
  const OutcomeCounts counts{36, 2, 2, 3};
  const struct {
    Saving saving;
    const char* savedTo;
    const char* refusal;
    bool withReport;
    const char* english;
    const char* japanese;
  } cases[] = {
      {Saving::Saved, "", "", true,
       "doc.tlv: 36 of 40 comments placed, 2 flagged for review, 2 failed, 3 already imported; "
       "saved; report doc.report.json",
       "doc.tlv: 40 件中 36 件の注釈を配置、2 件は要確認、2 件は失敗、3 件は読み込み済み; "
       "保存しました; レポート doc.report.json"},
      {Saving::Saved, "out.tlv", "", false, "doc.tlv: saved to out.tlv; no report",
       "doc.tlv: out.tlv に保存しました; レポートなし"},
      {Saving::DryRun, "", "", false, "doc.tlv: nothing saved: dry run; no report",
       "doc.tlv: 保存していません : ドライラン; レポートなし"},
      {Saving::ImportRefused, "", "r.pdf: not tagged", false,
       "doc.tlv: nothing saved: the import did not run (r.pdf: not tagged); no report",
       "doc.tlv: 保存していません : 読み込みを実行できませんでした (r.pdf: not tagged); "
       "レポートなし"},
      {Saving::SaveFailed, "", "", true,
       "doc.tlv: 36 of 40 comments placed, 2 flagged for review, 2 failed, 3 already imported; "
       "the document could not be saved (see the message above); report doc.report.json",
       "doc.tlv: 40 件中 36 件の注釈を配置、2 件は要確認、2 件は失敗、3 件は読み込み済み; "
       "文書を保存できませんでした (上のメッセージを参照してください); レポート doc.report.json"},
  };
  for (const auto& c : cases) {
    ImportEnd end;
    end.saving = c.saving;
    end.document = "doc.tlv";
    end.savedTo = c.savedTo;
    end.refusal = c.refusal;
    if (c.withReport) {
      end.counts = counts;
      end.report = "doc.report.json";
    }
    EXPECT_EQ(OutcomeLine(UiLanguage::English, end), c.english);
    EXPECT_EQ(OutcomeLine(UiLanguage::Japanese, end), c.japanese);
  }
  // A path holding a placeholder's name is printed as it stands.
  ImportEnd odd;
  odd.document = "{path}.tlv";
  odd.savedTo = "{why}";
  EXPECT_EQ(OutcomeLine(UiLanguage::English, odd), "{path}.tlv: saved to {why}; no report");
}

}  // namespace
}  // namespace tlhost
