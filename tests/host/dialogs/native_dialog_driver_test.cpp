#include "host/dialogs/native_dialog_driver.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "platform/win/button.h"
#include "platform/win/date_time_picker.h"
#include "platform/win/list_box.h"
#include "platform/win/module.h"
#include "platform/win/utf16.h"
#include "tests/host/dialogs/code_wording.h"

namespace tlhost {
namespace {

using win::HWND;
using win::LPARAM;

// What the dialog's procedure read back when Continue was pressed.
struct Chosen {
  std::set<std::string> authors;
  bool marked = false;
  std::optional<win::SYSTEMTIME> start;
};

Chosen g_chosen;

win::INT_PTR FilterProcedure(HWND dialog, win::UINT message, win::WPARAM wParam, LPARAM) {
  if (message == win::WM_INITDIALOG) {
    for (const char16_t* author : {u"Ana Lund", u"山田 花子", u"Bo"})
      win::SendDlgItemMessage(dialog, 104, win::LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(author));
    win::SendDlgItemMessage(dialog, 104, win::LB_SETSEL, win::TRUE, 2);
    win::SYSTEMTIME start;
    start.wYear = 2024, start.wMonth = 3, start.wDay = 5;
    win::SendDlgItemMessage(dialog, 103, win::DTM_SETSYSTEMTIME, win::GDT_VALID,
                            reinterpret_cast<LPARAM>(&start));
    return win::TRUE;
  }
  const int id = message == win::WM_COMMAND ? win::LOWORD(wParam) : 0;
  if (id == 100) {
    g_chosen = {};
    for (int i = 0; i < win::SendDlgItemMessage(dialog, 104, win::LB_GETCOUNT, 0, 0); ++i) {
      if (win::SendDlgItemMessage(dialog, 104, win::LB_GETSEL, i, 0) <= 0) continue;
      char16_t text[64] = {};
      win::SendDlgItemMessage(dialog, 104, win::LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
      g_chosen.authors.insert(win::WideToUtf8(text));
    }
    g_chosen.marked = win::IsDlgButtonChecked(dialog, 113) == win::BST_CHECKED;
    win::SYSTEMTIME time;
    if (win::SendDlgItemMessage(dialog, 103, win::DTM_GETSYSTEMTIME, 0,
                                reinterpret_cast<LPARAM>(&time)) == win::GDT_VALID)
      g_chosen.start = time;
  }
  if (id == 100 || id == 101 || id == win::IDCANCEL) {
    win::EndDialog(dialog, id == 100 ? 100 : 101);
    return win::TRUE;
  }
  return win::FALSE;
}

class NativeDialogDriverTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = win::SetDialogDriver(&driver_); }
  void TearDown() override { win::SetDialogDriver(previous_); }

  void UseScript(const std::string& text) {
    std::string error;
    ASSERT_TRUE(ParseDialogScript(text, script_, error)) << error;
    driver_.UseScript(&script_);
  }
  win::INT_PTR RunFilter() {
    const win::HMODULE module =
        win::ModuleFromAddress(reinterpret_cast<const void*>(&FilterProcedure));
    return win::DialogBoxParam(module, u"reviewfilter", nullptr, &FilterProcedure, 0);
  }

  Recorder recorder_;
  std::ostringstream errors_;
  testing::CodeWording words_;
  NativeDialogDriver driver_{recorder_, errors_, words_};
  DialogScript script_;
  win::DialogDriver* previous_ = nullptr;
};

// Each dialog plays its own block: what follows Escape or the close box never runs, a block
// that runs out of actions or a dialog without a block of its own is cancelled.
TEST_F(NativeDialogDriverTest, EachDialogPlaysItsOwnScriptBlock) {
  UseScript(
      "dialog ReviewFilter\n"
      "  only 104 山田 花子\n  select 104 Ana Lund\n  select 104 Bo\n  deselect 104 山田 花子\n"
      "  check 113\n  date 103 2023-12-31\n  press 100\nend\n"
      "dialog reviewfilter\n  date 103 none\n  enter\nend\n"
      "dialog reviewfilter\n  escape\n  press 100\nend\n"
      "dialog reviewfilter\n  close\n  press 100\nend\n"
      "dialog reviewfilter\n  check 113\nend\n");
  EXPECT_EQ(RunFilter(), 100);
  EXPECT_EQ(g_chosen.authors, (std::set<std::string>{"Ana Lund", "Bo"}));
  EXPECT_TRUE(g_chosen.marked);
  ASSERT_TRUE(g_chosen.start);
  EXPECT_EQ(std::vector<int>({g_chosen.start->wYear, g_chosen.start->wMonth, g_chosen.start->wDay}),
            std::vector<int>({2023, 12, 31}));
  EXPECT_EQ(RunFilter(), 100);  // Continue is the default button
  EXPECT_FALSE(g_chosen.start.has_value());
  for (int cancelled = 0; cancelled < 4; ++cancelled) EXPECT_EQ(RunFilter(), 101) << cancelled;
  EXPECT_EQ(script_.dialogs[2].actions.size(), 1u);
  EXPECT_EQ(script_.dialogs[3].actions.size(), 1u);
  EXPECT_EQ(recorder_.nativeDialogs, std::vector<std::string>(6, "reviewfilter"));
  EXPECT_EQ(errors_.str(), "");
}

TEST_F(NativeDialogDriverTest, ActionsThatCannotBeDoneAreReportedAndCancel) {
  using Code = ActionFaultCode;
  const struct {
    const char* line;
    ActionFault fault;
  } cases[] = {
      {"only 104 Ana", {Code::NoListEntry, {{"entry", "Ana"}, {"id", "104"}}}},  // a prefix
      {"check 999", {Code::NoControl, {{"id", "999"}}}},
      {"choose 113", {Code::NotARadioButton, {{"id", "113"}}}},
      {"press 104", {Code::NotAButton, {{"id", "104"}}}},
      {"check 100", {Code::NotACheckBox, {{"id", "100"}}}},
      {"date 104 2024-01-01", {Code::NotADatePicker, {{"id", "104"}}}},
      {"text 113 x", {Code::NotATextBox, {{"id", "113"}}}},
      {"select 103 Bo", {Code::NotAList, {{"id", "103"}}}},
  };
  for (const auto& c : cases) {
    script_ = {};
    errors_.str("");
    UseScript(std::string("dialog reviewfilter\n  ") + c.line + "\n  press 100\nend\n");
    EXPECT_EQ(RunFilter(), 101) << c.line;
    EXPECT_EQ(errors_.str(),
              words_.Say(DialogSaying::ScriptActionNotDone,
                         {{"dialog", "reviewfilter"}, {"what", words_.Say(c.fault)}}) +
                  "\n");
    EXPECT_TRUE(script_.dialogs[0].actions.empty()) << c.line;
  }
}

// On a terminal an action that cannot be done, or a line that is no action, is said and asked
// again; the driver's labels and help come from the wording it was given.
TEST_F(NativeDialogDriverTest, TerminalSaysWhatItCannotDoAndAsksAgain) {
  std::istringstream in("check 999\nwave 3\ndate 108 none\npress 100\n");
  std::ostringstream out;
  driver_.UseTerminal(&in, &out);
  EXPECT_EQ(RunFilter(), 100);
  const std::string shown = out.str();
  const std::string sayings[] = {
      words_.Say(DialogSaying::NotDone,
                 {{"what", words_.Say(ActionFault{ActionFaultCode::NoControl, {{"id", "999"}}})}}),
      words_.Say(DialogSaying::NotUnderstood, {{"line", "wave 3"}}),
      "  date 108: " + words_.Say(DialogSaying::NoDate, {}),
      words_.Say(DialogSaying::NativeActions, {}),
  };
  for (const std::string& saying : sayings)
    EXPECT_NE(shown.find(saying), std::string::npos) << saying << "\nin:\n" << shown;
  EXPECT_EQ(errors_.str(), "");
}

}  // namespace
}  // namespace tlhost
