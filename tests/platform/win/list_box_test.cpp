#include "platform/win/list_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialog_fixture.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

void Fill(HWND list, std::initializer_list<const char16_t*> texts) {
  for (const char16_t* text : texts) {
    SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

std::vector<int> Selected(HWND list, int capacity = 16) {
  std::vector<int> items(static_cast<size_t>(capacity), -1);
  const LRESULT n = SendMessage(list, LB_GETSELITEMS, static_cast<WPARAM>(capacity),
                                reinterpret_cast<LPARAM>(items.data()));
  items.resize(n < 0 ? 0 : static_cast<size_t>(n));
  return items;
}

TEST_F(DialogTest, ExtendedSelectionFollowsPlainAndControlClicks) {
  InDialog([](HWND dialog) {
    HWND list = GetDlgItem(dialog, 20);
    Fill(list, {u"Ana", u"Bo", u"Cy", u"Di"});
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 0);

    ASSERT_TRUE(ClickListEntry(list, 1, ListClick::Only));
    ASSERT_TRUE(ClickListEntry(list, 3, ListClick::Select));
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(Selected(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 3);  // the caret
    EXPECT_EQ(GetFocus(), list);

    ASSERT_TRUE(ClickListEntry(list, 1, ListClick::Deselect));
    EXPECT_EQ(Selected(list), (std::vector<int>{3}));
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 1, 0), 0);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 3, 0), 1);

    // A plain click drops everything else.
    ClickListEntry(list, 0, ListClick::Select);
    ClickListEntry(list, 2, ListClick::Only);
    EXPECT_EQ(Selected(list), (std::vector<int>{2}));

    // The answer never exceeds the capacity given.
    SendMessage(list, LB_SETSEL, TRUE, -1);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 4);
    EXPECT_EQ(Selected(list, 2), (std::vector<int>{0, 1}));
    SendMessage(list, LB_SETSEL, FALSE, -1);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 4), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 2), LB_OKAY);
    EXPECT_EQ(Selected(list), (std::vector<int>{2}));
    // Single-selection messages are refused.
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), LB_ERR);
    EXPECT_EQ(Selected(list), (std::vector<int>{2}));
  });
}

TEST_F(DialogTest, SingleSelectionListKeepsOneEntry) {
  InDialog([](HWND dialog) {
    HWND list = GetDlgItem(dialog, 22);
    Fill(list, {u"one", u"two", u"three"});
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETSELCOUNT, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETSELITEMS, 4, reinterpret_cast<LPARAM>(nullptr)), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 0), LB_ERR);

    ClickListEntry(list, 0, ListClick::Only);
    ClickListEntry(list, 2, ListClick::Select);  // no control-click in a single selection
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 0, 0), 0);

    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_OKAY);
    EXPECT_EQ(SendMessage(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 7, 0), LB_ERR);
  });
}

TEST_F(DialogTest, SelectionChangesAreToldOnlyByNotifyingListsAndOnlyWhenTheyChange) {
  InDialog([](HWND dialog) {
    HWND notifying = GetDlgItem(dialog, 20), quiet = GetDlgItem(dialog, 21);
    Fill(notifying, {u"a", u"b"});
    Fill(quiet, {u"a", u"b"});
    ClickListEntry(quiet, 0, ListClick::Only);
    ClickListEntry(notifying, 0, ListClick::Only);
    ClickListEntry(notifying, 0, ListClick::Only);      // already so: no change
    ClickListEntry(notifying, 1, ListClick::Deselect);  // not selected: no change
    ClickListEntry(notifying, 1, ListClick::Select);
    // Messages the program sends change the selection silently.
    SendMessage(notifying, LB_SETSEL, FALSE, -1);
  });
  EXPECT_EQ(Commands(), (CommandList{{20, LBN_SELCHANGE}, {20, LBN_SELCHANGE}}));
  // The notification names the list in lParam.
  for (const Message& m : log_) {
    if (m.message == WM_COMMAND) {
      EXPECT_NE(m.lParam, 0);
    }
  }
}

TEST_F(DialogTest, EntriesAreFoundByExactTextAndReadBack) {
  InDialog([](HWND dialog) {
    HWND list = GetDlgItem(dialog, 20);
    Fill(list, {u"Reviewer", u"Rev", u"山田"});
    EXPECT_EQ(FindListEntry(list, u"Rev"), 1);
    EXPECT_EQ(FindListEntry(list, u"山田"), 2);
    EXPECT_EQ(FindListEntry(list, u"Revi"), -1);
    EXPECT_EQ(FindListEntry(list, u"rev"), -1);
    EXPECT_EQ(FindListEntry(GetDlgItem(dialog, 40), u"Rev"), -1);  // no list

    EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, 0, 0), 8);
    char16_t text[16] = {};
    EXPECT_EQ(SendMessage(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), 2);
    EXPECT_EQ(std::u16string(text), u"山田");
    EXPECT_EQ(SendMessage(list, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(text)), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_GETTEXTLEN, static_cast<WPARAM>(-1), 0), LB_ERR);

    EXPECT_FALSE(ClickListEntry(list, 3, ListClick::Only));
    EXPECT_FALSE(ClickListEntry(list, -1, ListClick::Only));
    EXPECT_FALSE(ClickListEntry(GetDlgItem(dialog, 40), 0, ListClick::Only));
    EnableWindow(list, FALSE);
    EXPECT_FALSE(ClickListEntry(list, 0, ListClick::Only));
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 0, 0), 0);

    SendMessage(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessage(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(FindListEntry(list, u"Rev"), -1);
  });
}

}  // namespace
}  // namespace win::testing
