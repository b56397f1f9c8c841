#include "platform/win/native_dialog.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/button.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

INT_PTR EndOnCommand(HWND dialog, UINT message, WPARAM wParam, int id, INT_PTR result) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && LOWORD(wParam) == id) {
    EndDialog(dialog, result);
    return TRUE;
  }
  return FALSE;
}

TEST_F(DialogTest, InitDialogNamesTheFirstTabStopAndCarriesTheParameter) {
  HWND focusSeen = nullptr, firstNamed = nullptr, listInDialog = nullptr;
  user_.steps.push_back([&](HWND dialog) {
    focusSeen = GetFocus();
    listInDialog = GetDlgItem(dialog, 20);
  });
  Run(u"PICKS", nullptr, 42);
  ASSERT_FALSE(log_.empty());
  EXPECT_EQ(log_[0].message, WM_INITDIALOG);
  EXPECT_EQ(log_[0].lParam, 42);
  firstNamed = reinterpret_cast<HWND>(log_[0].wParam);
  // The disabled button and the label come first but cannot take the focus.
  EXPECT_EQ(firstNamed, listInDialog);
  EXPECT_EQ(focusSeen, listInDialog);
  EXPECT_EQ(user_.templateNames.front(), "PICKS");
}

TEST_F(DialogTest, FocusStaysWhereItWasWhenInitDialogAnswersFalse) {
  HWND frame = CreateFrameWindow(u"Frame", nullptr);
  SetFocus(frame);
  HWND focusSeen = nullptr;
  handler_ = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
  user_.steps.push_back([&](HWND) { focusSeen = GetFocus(); });
  Run(u"PICKS");
  EXPECT_EQ(focusSeen, frame);
  EXPECT_EQ(GetFocus(), frame);
  DestroyWindow(frame);
}

TEST_F(DialogTest, FocusComesBackAfterTheDialog) {
  HWND frame = CreateFrameWindow(u"Frame", nullptr);
  SetFocus(frame);
  user_.steps.push_back(
      [](HWND dialog) { ClickListEntry(GetDlgItem(dialog, 21), 0, ListClick::Only); });
  Run(u"PICKS");
  EXPECT_EQ(GetFocus(), frame);
  DestroyWindow(frame);
}

TEST_F(DialogTest, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfter) {
  HWND owner = CreateFrameWindow(u"Main", nullptr);
  SetForegroundWindow(owner);
  bool ownerEnabledDuring = true;
  HWND foregroundDuring = nullptr, ownerOfDialog = nullptr, dialogSeen = nullptr;
  user_.steps.push_back([&](HWND dialog) {
    ownerEnabledDuring = IsWindowEnabled(owner) != FALSE;
    foregroundDuring = GetForegroundWindow();
    ownerOfDialog = GetWindow(dialog, GW_OWNER);
    dialogSeen = dialog;
  });
  Run(u"PICKS", owner);
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_EQ(foregroundDuring, dialogSeen);
  EXPECT_EQ(ownerOfDialog, owner);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetForegroundWindow(), owner);
  EXPECT_FALSE(IsWindow(dialogSeen));
  DestroyWindow(owner);
}

TEST_F(DialogTest, AnOwnerDisabledBeforeStaysDisabled) {
  HWND owner = CreateFrameWindow(u"Main", nullptr);
  EnableWindow(owner, FALSE);
  Run(u"PICKS", owner);
  EXPECT_FALSE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST_F(DialogTest, AnswersTheValueGivenToEndDialogAndDestroysTheDialog) {
  handler_ = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EndOnCommand(dialog, message, wParam, 60, 77);
  };
  HWND dialogSeen = nullptr;
  user_.steps.push_back([&](HWND dialog) {
    dialogSeen = dialog;
    ClickButton(GetDlgItem(dialog, 60));
  });
  user_.steps.push_back([](HWND) { ADD_FAILURE() << "the loop went on after EndDialog"; });
  EXPECT_EQ(Run(u"PICKS"), 77);
  EXPECT_EQ(Count(WM_DESTROY), 1u);
  EXPECT_FALSE(IsWindow(dialogSeen));
  EXPECT_FALSE(EndDialog(dialogSeen, 1));
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

TEST_F(DialogTest, TemplateNamesCompareWithoutCase) {
  Run(u"picks");
  ASSERT_EQ(user_.templateNames.size(), 1u);
  EXPECT_EQ(user_.templateNames[0], "picks");
}

TEST_F(DialogTest, WithoutAUserTheDialogIsCancelled) {
  SetDialogDriver(nullptr);
  EXPECT_EQ(Run(u"PICKS"), IDCANCEL);
  // The procedure saw Escape and left it alone; the dialog manager ended the dialog.
  EXPECT_EQ(Commands(), (CommandList{{IDCANCEL, BN_CLICKED}}));
}

TEST_F(DialogTest, AUserWithNothingMoreToDoPressesEscape) {
  handler_ = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EndOnCommand(dialog, message, wParam, IDCANCEL, 55);
  };
  user_.steps.push_back([](HWND dialog) { ClickButton(GetDlgItem(dialog, 40)); });
  EXPECT_EQ(Run(u"PICKS"), 55);
  EXPECT_EQ(Commands(), (CommandList{{40, BN_CLICKED}, {IDCANCEL, BN_CLICKED}}));
}

TEST_F(DialogTest, EscapeSendsCancelFromTheCancelButton) {
  user_.steps.push_back([](HWND dialog) { PressEscape(dialog); });
  HWND cancel = nullptr;
  handler_ = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
      cancel = reinterpret_cast<HWND>(lParam);
      EXPECT_EQ(cancel, GetDlgItem(dialog, IDCANCEL));
      EndDialog(dialog, 9);
      return TRUE;
    }
    return message == WM_INITDIALOG;
  };
  EXPECT_EQ(Run(u"PICKS"), 9);
  EXPECT_NE(cancel, nullptr);
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonOrOk) {
  LRESULT defaultId = 0;
  user_.steps.push_back([&](HWND dialog) {
    defaultId = SendMessage(dialog, DM_GETDEFID, 0, 0);
    PressEnter(dialog);
  });
  handler_ = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EndOnCommand(dialog, message, wParam, 60, 60);
  };
  EXPECT_EQ(Run(u"PICKS"), 60);
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(defaultId)), 60);
  EXPECT_EQ(HIWORD(static_cast<uintptr_t>(defaultId)), DC_HASDEFID);

  user_.steps.push_back([&](HWND dialog) {
    defaultId = SendMessage(dialog, DM_GETDEFID, 0, 0);
    PressEnter(dialog);
  });
  handler_ = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EndOnCommand(dialog, message, wParam, IDOK, 11);
  };
  EXPECT_EQ(Run(u"PLAIN"), 11);
  EXPECT_EQ(defaultId, 0);
}

TEST_F(DialogTest, CloseBoxBecomesCloseThenCancelUnlessTheProcedureTakesIt) {
  user_.steps.push_back([](HWND dialog) { ClickCloseBox(dialog); });
  handler_ = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return EndOnCommand(dialog, message, wParam, IDCANCEL, 3);
  };
  EXPECT_EQ(Run(u"PICKS"), 3);
  EXPECT_EQ(Count(WM_SYSCOMMAND), 1u);
  EXPECT_EQ(Count(WM_CLOSE), 1u);
  EXPECT_EQ(Commands(), (CommandList{{IDCANCEL, BN_CLICKED}}));

  // A procedure that handles WM_CLOSE itself gets no IDCANCEL from the close box.
  log_.clear();
  user_.steps.push_back([](HWND dialog) { ClickCloseBox(dialog); });
  handler_ = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_CLOSE) {
      EndDialog(dialog, 4);
      return TRUE;
    }
    return message == WM_INITDIALOG;
  };
  EXPECT_EQ(Run(u"PICKS"), 4);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogTest, ControlsAreFoundByIdAndKnowTheirDialog) {
  user_.steps.push_back([](HWND dialog) {
    HWND edit = GetDlgItem(dialog, 70);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetDlgCtrlID(edit), 70);
    EXPECT_EQ(GetParent(edit), dialog);
    EXPECT_EQ(GetDlgItem(dialog, 999), nullptr);
    EXPECT_EQ(GetDlgCtrlID(dialog), 0);  // a dialog is no control
    char className[32];
    GetClassName(dialog, className, sizeof className);
    EXPECT_STREQ(className, "#32770");
    GetClassName(GetDlgItem(dialog, 50), className, sizeof className);
    EXPECT_STREQ(className, "SysDateTimePick32");
    char16_t text[16];
    EXPECT_EQ(GetWindowText(edit, text, 16), 5);
    EXPECT_EQ(std::u16string(text), u"typed");
    EXPECT_EQ(GetWindowText(dialog, text, 16), 5);
    EXPECT_EQ(std::u16string(text), u"Picks");
    // Disabled in the template.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 30)));
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 30)));
  });
  Run(u"PICKS");
}

TEST_F(DialogTest, TabOrderSkipsControlsThatCannotTakeTheFocus) {
  user_.steps.push_back([](HWND dialog) {
    HWND list = GetDlgItem(dialog, 20);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), list);
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, FALSE), GetDlgItem(dialog, 21));
    // Backwards from the first tab stop wraps round to the last, skipping the disabled button.
    EXPECT_EQ(GetNextDlgTabItem(dialog, list, TRUE), GetDlgItem(dialog, 2));
    EnableWindow(list, FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), GetDlgItem(dialog, 21));
  });
  Run(u"PICKS");
}

TEST_F(DialogTest, ADialogOpenedFromAProcedureRunsInsideAndGivesControlBack) {
  HWND outer = nullptr;
  HWND ownerOfInner = nullptr;
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
          [](HWND d, UINT m, WPARAM, LPARAM) -> INT_PTR { return m == WM_INITDIALOG; }, 0);
      user_.steps = std::move(outerSteps);
      return TRUE;
    }
    return EndOnCommand(dialog, message, wParam, 60, 6);
  };
  user_.steps.push_back([](HWND dialog) { ClickButton(GetDlgItem(dialog, 60)); });
  EXPECT_EQ(Run(u"PICKS"), 6);
  EXPECT_EQ(ownerOfInner, outer);
  EXPECT_EQ(innerResult, IDCANCEL);
  EXPECT_EQ(user_.templateNames, (std::vector<std::string>{"PICKS", "PLAIN", "PLAIN", "PICKS"}));
}

}  // namespace
}  // namespace win::testing
