#include "platform/win/date_time_picker.h"

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "platform/win/dialog_input.h"

namespace win::testing {
namespace {

SYSTEMTIME Day(int year, int month, int day) {
  SYSTEMTIME t;
  t.wYear = static_cast<uint16_t>(year);
  t.wMonth = static_cast<uint16_t>(month);
  t.wDay = static_cast<uint16_t>(day);
  return t;
}

// The user's picks and the program's messages, in turn on one picker: a date the calendar
// does not have, or a wrong flag, is refused and leaves the picker as it was.
TEST_F(DialogTest, APickerTakesValidDatesOrNoneAndRefusesTheRest) {
  const SYSTEMTIME leap = Day(2024, 2, 29), missing = Day(2023, 2, 29), day = Day(2021, 7, 9);
  const struct {
    bool byUser;
    WPARAM flag;
    const SYSTEMTIME* date;
    bool taken;
    LRESULT state;
    int dayOfWeek;  // of the date held, when there is one
  } cases[] = {
      {true, 0, &leap, true, GDT_VALID, 4},  // a Thursday
      {true, 0, nullptr, true, GDT_NONE, 0},
      {true, 0, &missing, false, GDT_NONE, 0},
      {false, GDT_VALID, &day, true, GDT_VALID, 5},
      {false, GDT_VALID, &missing, false, GDT_VALID, 5},
      {false, GDT_VALID, nullptr, false, GDT_VALID, 5},
      {false, 5, &leap, false, GDT_VALID, 5},
      {false, GDT_NONE, nullptr, true, GDT_NONE, 0},
  };
  InDialog([&](HWND dialog) {
    HWND picker = GetDlgItem(dialog, 50);
    SYSTEMTIME shown;
    ASSERT_EQ(SendMessage(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)),
              GDT_VALID);
    EXPECT_GE(shown.wYear, 2024);  // today
    for (const auto& c : cases) {
      SCOPED_TRACE(&c - cases);
      const bool taken = c.byUser ? PickDate(picker, c.date)
                                  : SendMessage(picker, DTM_SETSYSTEMTIME, c.flag,
                                                reinterpret_cast<LPARAM>(c.date)) != FALSE;
      EXPECT_EQ(taken, c.taken);
      EXPECT_EQ(SendMessage(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)),
                c.state);
      if (c.state == GDT_VALID) {
        EXPECT_EQ(shown.wDayOfWeek, c.dayOfWeek);
      }
    }
    EXPECT_EQ(SendMessage(picker, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    EXPECT_FALSE(PickDate(GetDlgItem(dialog, 20), &day));  // no picker
    EnableWindow(picker, FALSE);
    EXPECT_FALSE(PickDate(picker, &day));
  });
}

}  // namespace
}  // namespace win::testing
