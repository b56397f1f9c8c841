#include "host/dialogs/dialog_script.h"

#include <gtest/gtest.h>

namespace tlhost {
namespace {

// Each action as KIND:ITEM[:TEXT][@DATE], KIND its number in DialogAction::Kind.
std::string Describe(const ScriptedDialog& dialog) {
  std::string out = dialog.name;
  for (const DialogAction& a : dialog.actions) {
    out += " " + std::to_string(a.kind) + ":" + std::to_string(a.item);
    if (!a.text.empty()) out += ":" + a.text;
    if (a.date) {
      out += "@" + std::to_string(a.date->year) + "-" + std::to_string(a.date->month) + "-" +
             std::to_string(a.date->day);
    }
  }
  return out;
}

TEST(DialogScript, NativeActionsKeepTheirControlEntryTextAndDate) {
  DialogScript script;
  std::string error;
  ASSERT_TRUE(
      ParseDialogScript("dialog CustomFilterDialog\n"
                        "  only 104 山田 花子\n"
                        "  select 104 Ana  Lund \n"  // blanks inside and after belong to the entry
                        "  deselect 123 Bo\r\n"      // a Windows line end does not
                        "  date 103 2024-02-29\n  date 108 none\n  check 113\n  press 100\n"
                        "  escape\n  enter\n  close\n"
                        "end\n",
                        script, error))
      << error;
  ASSERT_EQ(script.dialogs.size(), 1u);
  using A = DialogAction;
  const std::string expected =
      "CustomFilterDialog " + std::to_string(A::ListOnly) + ":104:山田 花子 " +
      std::to_string(A::ListSelect) + ":104:Ana  Lund  " + std::to_string(A::ListDeselect) +
      ":123:Bo " + std::to_string(A::Date) + ":103@2024-2-29 " + std::to_string(A::Date) + ":108 " +
      std::to_string(A::Check) + ":113 " + std::to_string(A::Press) + ":100 " +
      std::to_string(A::Escape) + ":0 " + std::to_string(A::Enter) + ":0 " +
      std::to_string(A::Close) + ":0";
  EXPECT_EQ(Describe(script.dialogs[0]), expected);
}

TEST(DialogScript, MalformedNativeActionsAreRejectedWithTheirLineAndKeepNothing) {
  const std::string head = "dialog customfilterdialog\n";
  const std::pair<std::string, const char*> cases[] = {
      {head + "only 104\nend\n", "line 2: only needs an entry text"},
      {head + "deselect Bo\nend\n", "line 2: deselect needs a list id"},
      {head + "check 113\n  date 103\nend\n",
       "line 3: date needs a picker id and YYYY-MM-DD or none"},
      {head + "date 103 2024-02-30\nend\n", "line 2: no such date 2024-02-30"},
      {head + "date 103 2024-1-05\nend\n", "line 2: no such date 2024-1-05"},
      {head + "date 103 2024-01-05 later\nend\n",
       "line 2: date needs a picker id and YYYY-MM-DD or none"},
      {head + "escape now\nend\n", "line 2: escape takes nothing after it"},
      {head + "tick 113\nend\n", "line 2: unknown action tick"},
      {"only 104 Bo\n", "line 1: \"only\" outside a dialog"},
      {head + "only 104 Bo\n", "line 2: dialog customfilterdialog has no end"},
  };
  for (const auto& [text, message] : cases) {
    DialogScript script;
    script.alertAnswers.push_back("kept");
    std::string error;
    EXPECT_FALSE(ParseDialogScript(text, script, error)) << text;
    EXPECT_EQ(error, message);
    EXPECT_EQ(script.alertAnswers.size(), 1u) << "a failed parse must leave the script alone";
  }
}

}  // namespace
}  // namespace tlhost
