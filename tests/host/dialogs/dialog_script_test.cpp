#include "host/dialogs/dialog_script.h"

#include <gtest/gtest.h>

namespace tlhost {
namespace {

DialogScript Parse(const std::string& text) {
  DialogScript script;
  std::string error;
  EXPECT_TRUE(ParseDialogScript(text, script, error)) << error;
  return script;
}

std::string ErrorOf(const std::string& text) {
  DialogScript script;
  script.alertAnswers.push_back("kept");
  std::string error;
  EXPECT_FALSE(ParseDialogScript(text, script, error)) << text;
  EXPECT_EQ(script.alertAnswers.size(), 1u) << "a failed parse must leave the script alone";
  return error;
}

TEST(DialogScript, ListActionsTakeTheRestOfTheLineAsTheEntry) {
  const DialogScript script = Parse(
      "dialog CustomFilterDialog\n"
      "  only 104 山田 花子\n"
      "  select 104 Ana  Lund \n"
      "  deselect 123 Bo\r\n"
      "end\n");
  ASSERT_EQ(script.dialogs.size(), 1u);
  EXPECT_EQ(script.dialogs[0].name, "CustomFilterDialog");
  const auto& actions = script.dialogs[0].actions;
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[0].kind, DialogAction::ListOnly);
  EXPECT_EQ(actions[0].item, 104);
  EXPECT_EQ(actions[0].text, "山田 花子");
  EXPECT_EQ(actions[1].kind, DialogAction::ListSelect);
  EXPECT_EQ(actions[1].text, "Ana  Lund ");  // blanks inside and after belong to the text
  EXPECT_EQ(actions[2].kind, DialogAction::ListDeselect);
  EXPECT_EQ(actions[2].item, 123);
  EXPECT_EQ(actions[2].text, "Bo");  // a Windows line end is no part of it
}

TEST(DialogScript, DatesKeysAndTheCloseBox) {
  const DialogScript script = Parse(
      "dialog customfilterdialog\n"
      "  date 103 2024-02-29\n"
      "  date 108 none\n"
      "  check 113\n"
      "  press 100\n"
      "  escape\n"
      "  enter\n"
      "  close\n"
      "end\n");
  const auto& actions = script.dialogs.at(0).actions;
  ASSERT_EQ(actions.size(), 7u);
  EXPECT_EQ(actions[0].kind, DialogAction::Date);
  EXPECT_EQ(actions[0].item, 103);
  ASSERT_TRUE(actions[0].date.has_value());
  EXPECT_EQ(actions[0].date->year, 2024);
  EXPECT_EQ(actions[0].date->month, 2);
  EXPECT_EQ(actions[0].date->day, 29);
  EXPECT_EQ(actions[1].kind, DialogAction::Date);
  EXPECT_EQ(actions[1].item, 108);
  EXPECT_FALSE(actions[1].date.has_value());
  EXPECT_EQ(actions[2].kind, DialogAction::Check);
  EXPECT_EQ(actions[2].item, 113);
  EXPECT_EQ(actions[3].kind, DialogAction::Press);
  EXPECT_EQ(actions[4].kind, DialogAction::Escape);
  EXPECT_EQ(actions[5].kind, DialogAction::Enter);
  EXPECT_EQ(actions[6].kind, DialogAction::Close);
}

TEST(DialogScript, TheHostDialogSyntaxStillHolds) {
  const DialogScript script = Parse(
      "# answers\n"
      "alert yes\n"
      "file /tmp/a b.pdf\n"
      "dialog inputfile\n"
      "  text 3 /tmp/x y.pdf\n"
      "  choose 12\n"
      "  confirm\n"
      "end\n");
  EXPECT_EQ(script.alertAnswers, std::vector<std::string>{"yes"});
  EXPECT_EQ(script.chosenFiles, std::vector<std::string>{"/tmp/a b.pdf"});
  const auto& actions = script.dialogs.at(0).actions;
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_EQ(actions[0].kind, DialogAction::Text);
  EXPECT_EQ(actions[0].text, "/tmp/x y.pdf");
  EXPECT_EQ(actions[1].kind, DialogAction::Choose);
  EXPECT_EQ(actions[2].kind, DialogAction::Confirm);
}

TEST(DialogScript, MalformedNativeActionsAreRejectedWithTheirLine) {
  const std::string head = "dialog customfilterdialog\n";
  EXPECT_EQ(ErrorOf(head + "only 104\nend\n"), "line 2: only needs an entry text");
  EXPECT_EQ(ErrorOf(head + "select 104 \nend\n"), "line 2: select needs an entry text");
  EXPECT_EQ(ErrorOf(head + "deselect Bo\nend\n"), "line 2: deselect needs a list id");
  EXPECT_EQ(ErrorOf(head + "check 113\n  date 103\nend\n"),
            "line 3: date needs a picker id and YYYY-MM-DD or none");
  EXPECT_EQ(ErrorOf(head + "date 103 2024-02-30\nend\n"), "line 2: no such date 2024-02-30");
  EXPECT_EQ(ErrorOf(head + "date 103 2023-02-29\nend\n"), "line 2: no such date 2023-02-29");
  EXPECT_EQ(ErrorOf(head + "date 103 2024-1-05\nend\n"), "line 2: no such date 2024-1-05");
  EXPECT_EQ(ErrorOf(head + "date 103 24-01-05xx\nend\n"), "line 2: no such date 24-01-05xx");
  EXPECT_EQ(ErrorOf(head + "date 103 2024-13-01\nend\n"), "line 2: no such date 2024-13-01");
  EXPECT_EQ(ErrorOf(head + "date 103 2024-01-05 later\nend\n"),
            "line 2: date needs a picker id and YYYY-MM-DD or none");
  EXPECT_EQ(ErrorOf(head + "escape now\nend\n"), "line 2: escape takes nothing after it");
  EXPECT_EQ(ErrorOf(head + "enter 1\nend\n"), "line 2: enter takes nothing after it");
  EXPECT_EQ(ErrorOf(head + "tick 113\nend\n"), "line 2: unknown action tick");
  EXPECT_EQ(ErrorOf("only 104 Bo\n"), "line 1: \"only\" outside a dialog");
  EXPECT_EQ(ErrorOf(head + "only 104 Bo\n"), "line 2: dialog customfilterdialog has no end");
}

TEST(ScriptDate, OnlyCalendarDaysInTheFixedLayout) {
  EXPECT_TRUE(ParseScriptDate("1601-01-01").has_value());
  EXPECT_TRUE(ParseScriptDate("2000-02-29").has_value());
  EXPECT_FALSE(ParseScriptDate("1900-02-29").has_value());
  EXPECT_FALSE(ParseScriptDate("1600-12-31").has_value());
  EXPECT_FALSE(ParseScriptDate("2024-00-10").has_value());
  EXPECT_FALSE(ParseScriptDate("2024-04-31").has_value());
  EXPECT_FALSE(ParseScriptDate("2024/04/01").has_value());
  EXPECT_FALSE(ParseScriptDate("+024-04-01").has_value());
  EXPECT_FALSE(ParseScriptDate("").has_value());
}

}  // namespace
}  // namespace tlhost
