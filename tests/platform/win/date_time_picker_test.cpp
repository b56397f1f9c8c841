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

LRESULT Get(HWND picker, SYSTEMTIME& out) {
  return SendMessage(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&out));
}

TEST(SystemTime, ValidityFollowsTheCalendarAndItsRange) {
  const std::pair<SYSTEMTIME, bool> cases[] = {
      {Day(1601, 1, 1), true},   {Day(1600, 12, 31), false}, {Day(30827, 12, 31), true},
      {Day(30828, 1, 1), false}, {Day(2000, 2, 29), true},   {Day(1900, 2, 29), false},
      {Day(2023, 2, 29), false}, {Day(2023, 4, 31), false},  {Day(2023, 13, 1), false},
      {Day(2023, 0, 1), false},  {Day(2023, 1, 0), false},
  };
  for (const auto& [day, valid] : cases) {
    EXPECT_EQ(IsValidSystemTime(day), valid) << day.wYear << "-" << day.wMonth << "-" << day.wDay;
  }
  SYSTEMTIME late = Day(2023, 1, 1);
  late.wHour = 23;
  late.wMinute = 59;
  late.wSecond = 59;
  late.wMilliseconds = 999;
  EXPECT_TRUE(IsValidSystemTime(late));
  late.wHour = 24;
  EXPECT_FALSE(IsValidSystemTime(late));
}

TEST_F(DialogTest, APickerStartsWithTodayAndTakesOrDropsADate) {
  InDialog([](HWND dialog) {
    HWND picker = GetDlgItem(dialog, 50);
    SYSTEMTIME shown;
    ASSERT_EQ(Get(picker, shown), GDT_VALID);
    EXPECT_TRUE(IsValidSystemTime(shown));
    EXPECT_GE(shown.wYear, 2024);

    const SYSTEMTIME leap = Day(2024, 2, 29);
    ASSERT_TRUE(PickDate(picker, &leap));
    EXPECT_EQ(GetFocus(), picker);
    ASSERT_EQ(Get(picker, shown), GDT_VALID);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wMonth, 2);
    EXPECT_EQ(shown.wDay, 29);
    EXPECT_EQ(shown.wDayOfWeek, 4);  // a Thursday

    ASSERT_TRUE(PickDate(picker, nullptr));
    EXPECT_EQ(Get(picker, shown), GDT_NONE);

    // A date the calendar does not have is refused and changes nothing.
    const SYSTEMTIME missing = Day(2023, 2, 29);
    EXPECT_FALSE(PickDate(picker, &missing));
    EXPECT_EQ(Get(picker, shown), GDT_NONE);

    const SYSTEMTIME newYear = Day(2025, 1, 1);
    ASSERT_TRUE(PickDate(picker, &newYear));
    EXPECT_EQ(Get(picker, shown), GDT_VALID);
    EXPECT_EQ(shown.wDayOfWeek, 3);  // a Wednesday
  });
}

TEST_F(DialogTest, ProgramSetsThePickerByMessage) {
  InDialog([](HWND dialog) {
    HWND picker = GetDlgItem(dialog, 50);
    SYSTEMTIME shown;
    const SYSTEMTIME day = Day(2021, 7, 9);
    EXPECT_EQ(SendMessage(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&day)),
              TRUE);
    ASSERT_EQ(Get(picker, shown), GDT_VALID);
    EXPECT_EQ(shown.wDay, 9);
    const SYSTEMTIME bad = Day(2021, 6, 31);
    EXPECT_EQ(SendMessage(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&bad)),
              FALSE);
    EXPECT_EQ(SendMessage(picker, DTM_SETSYSTEMTIME, GDT_VALID, 0), FALSE);
    EXPECT_EQ(SendMessage(picker, DTM_SETSYSTEMTIME, 5, reinterpret_cast<LPARAM>(&day)), FALSE);
    ASSERT_EQ(Get(picker, shown), GDT_VALID);
    EXPECT_EQ(shown.wMonth, 7);
    EXPECT_EQ(SendMessage(picker, DTM_SETSYSTEMTIME, GDT_NONE, 0), TRUE);
    EXPECT_EQ(Get(picker, shown), GDT_NONE);
    EXPECT_EQ(SendMessage(picker, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
  });
}

TEST_F(DialogTest, OnlyEnabledPickersArePicked) {
  InDialog([](HWND dialog) {
    const SYSTEMTIME day = Day(2022, 3, 3);
    EXPECT_FALSE(PickDate(GetDlgItem(dialog, 20), &day));
    HWND picker = GetDlgItem(dialog, 50);
    EnableWindow(picker, FALSE);
    EXPECT_FALSE(PickDate(picker, nullptr));
    SYSTEMTIME shown;
    EXPECT_EQ(Get(picker, shown), GDT_VALID);
  });
}

}  // namespace
}  // namespace win::testing
