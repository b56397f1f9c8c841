#include "platform/win/button.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

TEST_F(DialogTest, AutomaticCheckBoxesChangeThemselvesAndTellTheDialog) {
  InDialog([](HWND dialog) {
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_UNCHECKED);
    ClickButton(GetDlgItem(dialog, 40));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_CHECKED);
    ClickButton(GetDlgItem(dialog, 40));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_UNCHECKED);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 40));

    // A plain check box leaves its state to the dialog procedure.
    ClickButton(GetDlgItem(dialog, 41));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 41), BST_UNCHECKED);

    // Three states in turn.
    HWND three = GetDlgItem(dialog, 42);
    ClickButton(three);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 42), BST_CHECKED);
    ClickButton(three);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 42), BST_INDETERMINATE);
    ClickButton(three);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 42), BST_UNCHECKED);

    ClickButton(GetDlgItem(dialog, 44));
    ClickButton(GetDlgItem(dialog, 44));  // an automatic radio button stays chosen
    EXPECT_EQ(IsDlgButtonChecked(dialog, 44), BST_CHECKED);
  });
  EXPECT_EQ(Commands(), (CommandList{{40, BN_CLICKED},
                                     {40, BN_CLICKED},
                                     {41, BN_CLICKED},
                                     {42, BN_CLICKED},
                                     {42, BN_CLICKED},
                                     {42, BN_CLICKED},
                                     {44, BN_CLICKED},
                                     {44, BN_CLICKED}}));
}

TEST_F(DialogTest, ChecksSetByTheProgramSendNothing) {
  InDialog([](HWND dialog) {
    EXPECT_TRUE(CheckDlgButton(dialog, 41, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 41), BST_CHECKED);
    SendDlgItemMessage(dialog, 40, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendDlgItemMessage(dialog, 40, BM_GETCHECK, 0, 0), BST_CHECKED);
    // Push buttons hold no check.
    CheckDlgButton(dialog, 60, BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 60), BST_UNCHECKED);
    EXPECT_FALSE(CheckDlgButton(dialog, 999, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 999), BST_UNCHECKED);
  });
  EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogTest, GroupBoxesDisabledButtonsAndOtherControlsCannotBeClicked) {
  InDialog([](HWND dialog) {
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 43)));
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 30)));
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 20)));
    EXPECT_FALSE(ClickButton(nullptr));
    EnableWindow(GetDlgItem(dialog, 40), FALSE);
    EXPECT_FALSE(ClickButton(GetDlgItem(dialog, 40)));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_UNCHECKED);
    // BM_CLICK is the program's way to the same click.
    EnableWindow(GetDlgItem(dialog, 40), TRUE);
    SendDlgItemMessage(dialog, 40, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 40), BST_CHECKED);
  });
  EXPECT_EQ(Commands(), (CommandList{{40, BN_CLICKED}}));
}

}  // namespace
}  // namespace win::testing
