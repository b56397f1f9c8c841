#include "platform/win/button.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

// Each click's state after it: automatic check boxes and radio buttons change themselves, a
// plain check box leaves its state to the procedure; every click tells the dialog.
TEST_F(DialogTest, ClicksChangeAutomaticButtonsAndTellTheDialog) {
  const struct {
    int id;
    std::vector<UINT> states;
  } cases[] = {
      {40, {BST_CHECKED, BST_UNCHECKED}},
      {41, {BST_UNCHECKED}},
      {42, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
      {44, {BST_CHECKED, BST_CHECKED}},  // a chosen radio button stays chosen
  };
  CommandList expected;
  InDialog([&](HWND dialog) {
    for (const auto& c : cases) {
      for (UINT state : c.states) {
        EXPECT_TRUE(ClickButton(GetDlgItem(dialog, c.id)));
        EXPECT_EQ(IsDlgButtonChecked(dialog, c.id), state) << c.id;
        expected.emplace_back(c.id, BN_CLICKED);
      }
    }
    // Checks the program sets send nothing; push buttons and missing controls hold none.
    EXPECT_TRUE(CheckDlgButton(dialog, 41, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 41), BST_CHECKED);
    CheckDlgButton(dialog, 60, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 60), BST_UNCHECKED);
    EXPECT_FALSE(CheckDlgButton(dialog, 999, BST_CHECKED));
    // Group boxes, disabled buttons and other controls cannot be clicked.
    for (int id : {43, 30, 20}) EXPECT_FALSE(ClickButton(GetDlgItem(dialog, id))) << id;
    EnableWindow(GetDlgItem(dialog, 40), FALSE);
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 40)));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_UNCHECKED);
  });
  EXPECT_EQ(commands_, expected);
}

}  // namespace
}  // namespace win::testing
