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

// Clicks on the notifying list 20 and the quiet list 21, the selection after each, and which of
// them told the dialog: only the notifying list, and only when its selection changed.
TEST_F(DialogTest, ClicksSelectEntriesAndOnlyChangesAreTold) {
  const struct {
    int list, index;
    ListClick click;
    std::vector<int> selected;
  } cases[] = {
      {20, 1, ListClick::Only, {1}},     {20, 3, ListClick::Select, {1, 3}},
      {20, 1, ListClick::Deselect, {3}}, {20, 1, ListClick::Deselect, {3}},
      {20, 3, ListClick::Select, {3}},   {20, 2, ListClick::Only, {2}},
      {21, 0, ListClick::Only, {0}},
  };
  InDialog([&](HWND dialog) {
    for (const int id : {20, 21}) Fill(GetDlgItem(dialog, id), {u"Ana", u"Bo", u"山田", u"Di"});
    for (const auto& c : cases) {
      HWND list = GetDlgItem(dialog, c.list);
      EXPECT_TRUE(ClickListEntry(list, c.index, c.click));
      EXPECT_EQ(Selected(list), c.selected) << c.list << ":" << c.index;
      EXPECT_EQ(GetFocus(), list);
    }
    HWND list = GetDlgItem(dialog, 20);
    // The program's messages change the selection silently; the answer keeps to the capacity.
    SendMessage(list, LB_SETSEL, TRUE, -1);
    EXPECT_EQ(Selected(list, 2), (std::vector<int>{0, 1}));
    EXPECT_EQ(SendMessage(list, LB_SETSEL, TRUE, 4), LB_ERR);
    EXPECT_EQ(SendMessage(list, LB_SETCURSEL, 1, 0), LB_ERR);  // a single-selection message
    EXPECT_EQ(SendMessage(list, LB_GETSEL, 3, 0), 1);
    for (const int index : {4, -1}) EXPECT_FALSE(ClickListEntry(list, index, ListClick::Only));
  });
  EXPECT_EQ(commands_, (CommandList(4, {20, LBN_SELCHANGE})));
}

}  // namespace
}  // namespace win::testing
