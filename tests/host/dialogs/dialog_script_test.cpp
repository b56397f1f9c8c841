#include "host/dialogs/dialog_script.h"

#include <gtest/gtest.h>

namespace tlhost {
namespace {

TEST(DialogScript, MalformedNativeActionsAreRejectedWithTheirLineAndKeepNothing) {
  using Code = ScriptFaultCode;
  using Values = std::vector<std::pair<std::string, std::string>>;
  const std::string head = "dialog customfilterdialog\n";
  const struct {
    std::string text;
    Code code;
    int line;
    Values values;
  } cases[] = {
      {head + "only 104\nend\n", Code::NeedsEntryText, 2, {{"word", "only"}}},
      {head + "deselect Bo\nend\n", Code::NeedsListId, 2, {{"word", "deselect"}}},
      {head + "check 113\n  date 103\nend\n", Code::DateNeedsValue, 3, {}},
      {head + "date 103 2024-02-30\nend\n", Code::NoSuchDate, 2, {{"value", "2024-02-30"}}},
      {head + "date 103 2024-1-05\nend\n", Code::NoSuchDate, 2, {{"value", "2024-1-05"}}},
      {head + "date 103 2024-01-05 later\nend\n", Code::DateNeedsValue, 2, {}},
      {head + "escape now\nend\n", Code::TakesNothing, 2, {{"word", "escape"}}},
      {head + "tick 113\nend\n", Code::UnknownAction, 2, {{"word", "tick"}}},
      {"only 104 Bo\n", Code::OutsideDialog, 1, {{"word", "only"}}},
      {head + "only 104 Bo\n", Code::DialogHasNoEnd, 2, {{"name", "customfilterdialog"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    DialogScript script;
    script.alertAnswers.push_back("kept");
    ScriptFault fault;
    EXPECT_FALSE(ParseDialogScript(c.text, script, fault));
    EXPECT_EQ(fault.code, c.code);
    EXPECT_EQ(fault.line, c.line);
    EXPECT_EQ(fault.values, c.values);
    EXPECT_EQ(script.alertAnswers.size(), 1u) << "a failed parse must leave the script alone";
  }
}

}  // namespace
}  // namespace tlhost
