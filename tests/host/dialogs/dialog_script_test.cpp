#include "host/dialogs/dialog_script.h"

#include <gtest/gtest.h>

namespace tlhost {
namespace {

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
