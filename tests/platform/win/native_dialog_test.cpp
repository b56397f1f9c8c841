#include "platform/win/native_dialog.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/button.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

// WM_INITDIALOG names the first tab stop and carries the parameter; names compare without case.
TEST_F(DialogTest, InitDialogNamesTheFirstTabStopAndCarriesTheParameter) {
  HWND listInDialog = nullptr;
  user_.steps.push_back([&](HWND dialog) { listInDialog = GetDlgItem(dialog, 20); });
  Run(u"picks", nullptr, 42);
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_[0].message, WM_INITDIALOG);
  EXPECT_EQ(log_[0].lParam, 42);
  // The disabled button and the label come first but cannot take the focus.
  EXPECT_EQ(reinterpret_cast<HWND>(log_[0].wParam), listInDialog);
  EXPECT_EQ(user_.templateNames.front(), "picks");
}

// Focus: on the first tab stop unless WM_INITDIALOG answers FALSE; back where it was afterwards.
TEST_F(DialogTest, FocusGoesToTheFirstTabStopUnlessInitDialogAnswersFalseAndComesBack) {
  HWND frame = CreateFrameWindow(u"Frame", nullptr);
  for (const INT_PTR initAnswer : {TRUE, FALSE}) {
    SCOPED_TRACE(initAnswer ? "TRUE" : "FALSE");
    SetFocus(frame);
    handler_ = [=](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR {
      return message == WM_INITDIALOG ? initAnswer : FALSE;
    };
    user_.steps.push_back([&](HWND dialog) {
      EXPECT_EQ(GetFocus(), initAnswer ? GetDlgItem(dialog, 20) : frame);
      SetFocus(GetDlgItem(dialog, 21));
      EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 21));
    });
    Run(u"PICKS");
    EXPECT_EQ(GetFocus(), frame);
  }
  DestroyWindow(frame);
}

// The owner is disabled and behind the dialog while it runs, then in front and as it was before.
TEST_F(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndAfterwardsAsItWasBefore) {
  for (const bool enabledBefore : {true, false}) {
    SCOPED_TRACE(enabledBefore ? "enabled before" : "disabled before");
    HWND owner = CreateFrameWindow(u"Main", nullptr);
    EnableWindow(owner, enabledBefore ? TRUE : FALSE);
    SetForegroundWindow(owner);
    HWND dialogSeen = nullptr;
    user_.steps.push_back([&](HWND dialog) {
      dialogSeen = dialog;
      EXPECT_FALSE(IsWindowEnabled(owner));
      EXPECT_EQ(GetForegroundWindow(), dialog);
      EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    });
    Run(u"PICKS", owner);
    EXPECT_EQ(IsWindowEnabled(owner) != FALSE, enabledBefore);
    EXPECT_EQ(GetForegroundWindow(), owner);
    EXPECT_NE(dialogSeen, nullptr);
    EXPECT_FALSE(IsWindow(dialogSeen));
    DestroyWindow(owner);
  }
}

// Each way a dialog ends: the commands sent (each from its control), the value answered, the
// loop stopping at EndDialog. The procedure ends with `result` on `endOn` (or on WM_CLOSE).
TEST_F(DialogTest, EachWayOfEndingSendsItsCommandsAndAnswersTheValueGivenToEndDialog) {
  constexpr int kOnClose = -1, kNever = -2;
  struct Case {
    const char* how;
    const char16_t* name;
    std::function<void(HWND)> step;
    int endOn;
    INT_PTR result;
    CommandList commands;
    size_t turns;
    size_t closes;  // WM_SYSCOMMAND and WM_CLOSE each
  };
  const auto click40 = [](HWND dialog) { ClickButton(GetDlgItem(dialog, 40)); };
  const std::pair<int, int> cancel = {IDCANCEL, BN_CLICKED};
  const Case cases[] = {
      // The procedure leaves the Escape alone; the dialog manager ends the dialog.
      {"no user", u"PICKS", nullptr, kNever, IDCANCEL, {cancel}, 0, 0},
      {"steps run out", u"PICKS", click40, IDCANCEL, 55, {{40, BN_CLICKED}, cancel}, 2, 0},
      {"Escape", u"PICKS", PressEscape, IDCANCEL, 9, {cancel}, 1, 0},
      {"Return, default button", u"PICKS", PressEnter, 60, 77, {{60, BN_CLICKED}}, 1, 0},
      {"Return, no default button", u"PLAIN", PressEnter, IDOK, 11, {{IDOK, BN_CLICKED}}, 1, 0},
      {"close box", u"PICKS", ClickCloseBox, IDCANCEL, 3, {cancel}, 1, 1},
      // A procedure that handles WM_CLOSE itself gets no IDCANCEL from the close box.
      {"close box taken", u"PICKS", ClickCloseBox, kOnClose, 4, {}, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    log_.clear();
    user_.templateNames.clear();
    HWND dialogSeen = nullptr;
    handler_ = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
      if (message == WM_COMMAND) {
        EXPECT_NE(reinterpret_cast<HWND>(lParam), nullptr) << LOWORD(wParam);
        EXPECT_EQ(reinterpret_cast<HWND>(lParam), GetDlgItem(dialog, LOWORD(wParam)));
      }
      if ((message == WM_COMMAND && LOWORD(wParam) == c.endOn) ||
          (message == WM_CLOSE && c.endOn == kOnClose)) {
        EndDialog(dialog, c.result);
        return TRUE;
      }
      return message == WM_INITDIALOG;
    };
    if (c.step) {
      user_.steps.push_back([&](HWND dialog) {
        dialogSeen = dialog;
        const bool picks = std::u16string(c.name) == u"PICKS";
        EXPECT_EQ(static_cast<uintptr_t>(SendMessage(dialog, DM_GETDEFID, 0, 0)),
                  picks ? MAKEWPARAM(60, DC_HASDEFID) : 0u);
        c.step(dialog);
      });
    }
    DialogDriver* const previous = c.step ? nullptr : SetDialogDriver(nullptr);
    EXPECT_EQ(Run(c.name), c.result);
    if (!c.step) SetDialogDriver(previous);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(user_.templateNames.size(), c.turns);
    EXPECT_EQ(Count(WM_SYSCOMMAND), c.closes);
    EXPECT_EQ(Count(WM_CLOSE), c.closes);
    EXPECT_EQ(Count(WM_DESTROY), 1u);
    if (dialogSeen) {
      EXPECT_FALSE(IsWindow(dialogSeen));
      EXPECT_FALSE(EndDialog(dialogSeen, 1));
    }
  }
}

TEST_F(DialogTest, MissingOrUnusableTemplatesAnswerMinusOneWithoutTouchingTheOwner) {
  HWND owner = CreateFrameWindow(u"Main", nullptr);
  SetForegroundWindow(owner);
  EXPECT_EQ(Run(u"NOSUCHDIALOG", owner), -1);
  EXPECT_EQ(Run(u"BADCLASS", owner), -1);
  EXPECT_EQ(DialogBoxParam(Module(), u"PICKS", owner, nullptr, 0), -1);
  EXPECT_EQ(
      DialogBoxParam(
          nullptr, u"PICKS", owner, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0),
      -1);
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(user_.templateNames.empty());
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetForegroundWindow(), owner);
  DestroyWindow(owner);
}

TEST_F(DialogTest, TabOrderSkipsControlsThatCannotTakeTheFocus) {
  InDialog([](HWND dialog) {
    HWND list = GetDlgItem(dialog, 20);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), list);
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, FALSE), GetDlgItem(dialog, 21));
    // Backwards from the first tab stop wraps round to the last, skipping the disabled button.
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, TRUE), GetDlgItem(dialog, 2));
    EnableWindow(list, FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, 21));
  });
}

TEST_F(DialogTest, ADialogOpenedFromAProcedureRunsInsideAndGivesControlBack) {
  HWND outer = nullptr, ownerOfInner = nullptr;
  INT_PTR innerResult = 0;
  user_.steps.push_back([&](HWND dialog) {
    outer = dialog;
    ClickButton(GetDlgItem(dialog, 40));
  });
  handler_ = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wParam) == 40) {
      // The inner dialog gets a user of its own for its one turn.
      auto outerSteps = std::move(user_.steps);
      user_.steps = {[&](HWND inner) { ownerOfInner = GetWindow(inner, GW_OWNER); }};
      innerResult = DialogBoxParam(
          Module(), u"PLAIN", dialog,
          [](HWND, UINT m, WPARAM, LPARAM) -> INT_PTR { return m == WM_INITDIALOG; }, 0);
      user_.steps = std::move(outerSteps);
      return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == 60) {
      EndDialog(dialog, 6);
      return TRUE;
    }
    return message == WM_INITDIALOG;
  };
  user_.steps.push_back([](HWND dialog) { ClickButton(GetDlgItem(dialog, 60)); });
  EXPECT_EQ(Run(u"PICKS"), 6);
  EXPECT_EQ(ownerOfInner, outer);
  EXPECT_EQ(innerResult, IDCANCEL);
  EXPECT_EQ(user_.templateNames, (std::vector<std::string>{"PICKS", "PLAIN", "PLAIN", "PICKS"}));
}

}  // namespace
}  // namespace win::testing
