// The dialog drivers' sayings and action faults in words: every code in every language, and the
// help lines keep the script language's keywords in every language.
#include "host/cli/dialog_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/host/cli/every_language.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

TEST(DialogTextTest, EverySayingAndFaultHasATextInEveryLanguageWithTheSamePlaces) {
  testing::ExpectEveryKeyInEveryLanguage(DialogSayingTextOf, DialogSaying::Count);
  testing::ExpectEveryKeyInEveryLanguage(ActionFaultTextOf, ActionFaultCode::Count);
  testing::ExpectEveryKeyInEveryLanguage(ResponderSayingTextOf, ResponderSaying::Count);
}

// On the terminal, the host's alerts and file chooser ask in the user's language and take the
// same answers in every language.
TEST(DialogTextTest, TheResponderAsksInTheLanguageAndTakesTheSameAnswers) {
  const struct {
    UiLanguage language;
    const char* question;
    const char* chooser;
  } cases[] = {
      {UiLanguage::English, "Yes or No? [y/n]", "[Import] folder: /f, proposed: a.pdf"},
      {UiLanguage::Japanese, "はい／いいえ [y/n]", "[Import] フォルダー: /f、候補: a.pdf"},
  };
  for (const auto& c : cases) {
    std::istringstream in("maybe\nn\n/f/b.pdf\n");
    std::ostringstream out;
    Responder responder;
    responder.UseTerminal(&in, &out, ResponderWords(c.language));
    EXPECT_EQ(responder.AnswerAlert("Import?", tolvane::ALERT_YES_NO), 1);
    EXPECT_EQ(responder.ChooseFile("Import", "/f", "a.pdf"), "/f/b.pdf");
    const std::string said = out.str();
    // A word that is no answer asks again.
    const size_t first = said.find(c.question);
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_NE(said.find(c.question, first + 1), std::string::npos) << said;
    EXPECT_NE(said.find(c.chooser), std::string::npos) << said;
  }
}

// The words of a help text after its heading ("Actions:"), whatever the heading is.
std::vector<std::string> WordsAfterHeading(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  std::string word;
  in >> word;  // the heading
  while (in >> word) words.push_back(word);
  return words;
}

TEST(DialogTextTest, HelpLinesKeepTheActionKeywordsInEveryLanguage) {
  for (const DialogSaying help : {DialogSaying::HostActions, DialogSaying::NativeActions}) {
    const std::vector<std::string> english =
        WordsAfterHeading(DialogSayingTextOf(UiLanguage::English, help));
    EXPECT_EQ(WordsAfterHeading(DialogSayingTextOf(UiLanguage::Japanese, help)), english);
    EXPECT_GT(english.size(), 5u);
  }
}

TEST(DialogTextTest, AFaultIsSaidWithItsValuesInTheirPlaces) {
  const ActionFault fault{ActionFaultCode::NoListEntry, {{"entry", "山田 {id}"}, {"id", "104"}}};
  const struct {
    UiLanguage language;
    const char* said;
  } cases[] = {
      {UiLanguage::English, "tolvane: dialog reviewfilter: no entry \"山田 {id}\" in list 104"},
      {UiLanguage::Japanese,
       "tolvane: ダイアログ reviewfilter : リスト 104 に \"山田 {id}\" という項目はありません"},
  };
  for (const auto& c : cases) {
    const DialogWords words(c.language);
    const DialogWording& wording = words;
    EXPECT_EQ(wording.Say(DialogSaying::ScriptActionNotDone,
                          {{"dialog", "reviewfilter"}, {"what", wording.Say(fault)}}),
              c.said);
  }
}

}  // namespace
}  // namespace tlhost
