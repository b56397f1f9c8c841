#include "platform/win/native_dialog.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/button.h"
#include "platform/win/dialog_input.h"
#include "platform/win/list_box.h"

namespace win::testing {
namespace {

// What the procedure read from its controls when the dialog ended.
struct Values {
  bool checked = false;
  std::vector<bool> selected;
  LRESULT dateState = GDT_ERROR;
  uint16_t day = 0;
};

// The filter dialog's life: the procedure fills its controls in WM_INITDIALOG, the user changes
// them, and the button or key that ends the modal loop makes the procedure read them back and
// end the dialog with that command's id.
TEST_F(DialogTest, ControlsSetAtTheStartReadBackWhenTheButtonOrKeyEndsTheLoop) {
  Values read;
  handler_ = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_INITDIALOG) {
      EXPECT_EQ(lParam, 42);
      for (const char16_t* author : {u"Ana", u"Bo", u"山田"}) {
        SendDlgItemMessage(dialog, 20, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(author));
      }
      SendDlgItemMessage(dialog, 20, LB_SETSEL, TRUE, 2);
      CheckDlgButton(dialog, 41, BST_CHECKED);
      SYSTEMTIME start;
      start.wYear = 2024, start.wMonth = 3, start.wDay = 5;
      SendDlgItemMessage(dialog, 50, DTM_SETSYSTEMTIME, GDT_VALID,
                         reinterpret_cast<LPARAM>(&start));
      return TRUE;
    }
    const int id = LOWORD(wParam);
    if (message != WM_COMMAND || (id != 60 && id != IDOK && id != IDCANCEL)) return FALSE;
    read = {IsDlgButtonChecked(dialog, 41) == BST_CHECKED, {}, GDT_ERROR, 0};
    for (int i = 0; i < SendDlgItemMessage(dialog, 20, LB_GETCOUNT, 0, 0); ++i) {
      read.selected.push_back(SendDlgItemMessage(dialog, 20, LB_GETSEL, i, 0) > 0);
    }
    SYSTEMTIME date;
    read.dateState =
        SendDlgItemMessage(dialog, 50, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    read.day = date.wDay;
    EndDialog(dialog, id);
    return TRUE;
  };
  // The user adds an entry, clears the check and the date, then ends the dialog.
  const auto change = [](HWND dialog) {
    ClickListEntry(GetDlgItem(dialog, 20), 0, ListClick::Select);
    ClickButton(GetDlgItem(dialog, 41));  // a plain check box: the procedure keeps its state
    CheckDlgButton(dialog, 41, BST_UNCHECKED);
    PickDate(GetDlgItem(dialog, 50), nullptr);
  };
  const auto go = [](HWND dialog) { ClickButton(GetDlgItem(dialog, 60)); };
  const struct {
    const char* how;
    const char16_t* name;
    std::function<void(HWND)> end;  // null: the user's steps run out after the change
    INT_PTR result;
  } cases[] = {
      {"the default button", u"PICKS", go, 60},
      {"Escape", u"PICKS", PressEscape, IDCANCEL},
      {"the close box", u"PICKS", ClickCloseBox, IDCANCEL},
      {"no more steps", u"PICKS", nullptr, IDCANCEL},
      {"Return without a default button", u"PLAIN", PressEnter, IDOK},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    HWND seen = nullptr;
    user_.steps.push_back([&](HWND dialog) {
      seen = dialog;
      change(dialog);
      if (c.end) c.end(dialog);
    });
    EXPECT_EQ(Run(c.name, nullptr, 42), c.result);
    EXPECT_TRUE(user_.steps.empty());
    EXPECT_FALSE(IsWindow(seen));
    if (std::u16string(c.name) == u"PICKS") {
      EXPECT_EQ(read.selected, (std::vector<bool>{true, false, true}));
      EXPECT_FALSE(read.checked);
      EXPECT_EQ(read.dateState, GDT_NONE);
    }
  }
  // Without any user the dialog is cancelled at once, its values as the procedure set them.
  DialogDriver* const previous = SetDialogDriver(nullptr);
  EXPECT_EQ(Run(u"PICKS", nullptr, 42), IDCANCEL);
  SetDialogDriver(previous);
  EXPECT_EQ(read.selected, (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(read.checked);
  EXPECT_EQ(read.day, 5);
}

TEST_F(DialogTest, MissingOrUnusableTemplatesAnswerMinusOneWithoutTouchingTheOwner) {
  HWND owner = CreateFrameWindow(u"Main", nullptr);
  EXPECT_EQ(Run(u"NOSUCHDIALOG", owner), -1);
  EXPECT_EQ(Run(u"BADCLASS", owner), -1);
  EXPECT_EQ(DialogBoxParam(Module(), u"PICKS", owner, nullptr, 0), -1);
  EXPECT_TRUE(commands_.empty());
  EXPECT_TRUE(user_.templateNames.empty());
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

}  // namespace
}  // namespace win::testing
