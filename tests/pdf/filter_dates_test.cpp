#include "pdf/filter_dates.h"

#include "filter_test_support.h"

namespace osprevan::pdf {
namespace {

using testing::DateText;
using testing::SecondsText;
using testing::SetDate;
using testing::TestDate;
using testing::UtcSeconds;

using FilterDatesTest = testing::FilterLibraryTest;

win::SYSTEMTIME Fields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  win::SYSTEMTIME fields{};
  fields.wYear = static_cast<uint16_t>(year);
  fields.wMonth = static_cast<uint16_t>(month);
  fields.wDay = static_cast<uint16_t>(day);
  fields.wHour = static_cast<uint16_t>(hour);
  fields.wMinute = static_cast<uint16_t>(minute);
  fields.wSecond = static_cast<uint16_t>(second);
  return fields;
}

std::string FieldsText(const win::SYSTEMTIME& f) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u dow %u ms %u", f.wYear, f.wMonth,
                f.wDay, f.wHour, f.wMinute, f.wSecond, f.wDayOfWeek, f.wMilliseconds);
  return text;
}

TEST_F(FilterDatesTest, TruncateToDayKeepsTheCalendarDay) {
  const struct {
    int64_t seconds;
    const char* day;
  } cases[] = {
      {UtcSeconds(2024, 2, 29, 23, 59, 59), "2024/02/29 00:00:00"},
      {UtcSeconds(2023, 12, 31, 12, 0, 0), "2023/12/31 00:00:00"},
      {UtcSeconds(2000, 3, 1, 0, 0, 1), "2000/03/01 00:00:00"},
      {UtcSeconds(2100, 2, 28, 18, 45, 0), "2100/02/28 00:00:00"},
      {UtcSeconds(2024, 5, 31, 0, 0, 0), "2024/05/31 00:00:00"},  // already midnight
      {UtcSeconds(1970, 1, 1, 23, 59, 59), "1970/01/01 00:00:00"},
      // Before the library's zero date.
      {UtcSeconds(1969, 12, 31, 23, 59, 59), "1969/12/31 00:00:00"},
      {UtcSeconds(1969, 12, 29, 10, 0, 0), "1969/12/29 00:00:00"},
      {UtcSeconds(1969, 11, 30, 10, 0, 0), "1969/11/30 00:00:00"},
      {UtcSeconds(1969, 1, 1, 0, 0, 0), "1969/01/01 00:00:00"},
      {UtcSeconds(1900, 3, 1, 12, 0, 0), "1900/03/01 00:00:00"},
      {UtcSeconds(1601, 1, 1, 0, 0, 1), "1601/01/01 00:00:00"},
  };
  for (const auto& c : cases) {
    const TestDate date(c.seconds);
    TruncateToDay(date.get());
    EXPECT_EQ(DateText(date.get()), c.day) << SecondsText(c.seconds);
  }
}

// The pickers' fields of a date and back: leap days, month and year ends, the library's zero
// date and before it, as far back as a picker goes.
TEST_F(FilterDatesTest, DatesAndThePickersFieldsConvertBothWays) {
  const win::SYSTEMTIME cases[] = {Fields(2024, 2, 29, 13, 14, 15),
                                   Fields(2023, 2, 28, 23, 59, 59),
                                   Fields(2023, 3, 1),
                                   Fields(1999, 12, 31, 23, 59, 59),
                                   Fields(2000, 2, 29, 12),
                                   Fields(2024, 4, 30, 6, 7, 8),
                                   Fields(2024, 1, 31, 12),
                                   Fields(2100, 3, 1),
                                   Fields(1970, 1, 1),
                                   Fields(1969, 12, 31, 23, 59, 59),
                                   Fields(1969, 11, 30, 10),
                                   Fields(1900, 2, 28, 12),
                                   Fields(1601, 1, 1)};
  for (const win::SYSTEMTIME& f : cases) {
    const int64_t seconds = UtcSeconds(f.wYear, f.wMonth, f.wDay, f.wHour, f.wMinute, f.wSecond);
    const TestDate date(seconds);
    EXPECT_EQ(FieldsText(DateToCalendar(date.get())), FieldsText(f));
    // Whatever the date held before is replaced; the day of the week and the milliseconds
    // play no part.
    win::SYSTEMTIME withExtras = f;
    withExtras.wDayOfWeek = 3;
    withExtras.wMilliseconds = 999;
    const TestDate back(UtcSeconds(2050, 7, 15, 9, 9, 9));
    CalendarToDate(withExtras, back.get());
    EXPECT_EQ(DateText(back.get()), SecondsText(seconds)) << FieldsText(f);
  }
}

TEST_F(FilterDatesTest, RoundTripsAreExact) {
  // A walk from a picker's first year on, in steps that land on every day of the month and
  // every time of day in turn.
  const TestDate date(0), back(0);
  for (int64_t seconds = UtcSeconds(1601, 1, 1); seconds < UtcSeconds(2120, 1, 1);
       seconds += 86400 * 29 + 3607) {
    SetDate(date.get(), seconds);
    const win::SYSTEMTIME fields = DateToCalendar(date.get());
    ASSERT_TRUE(win::IsValidSystemTime(fields)) << SecondsText(seconds);
    CalendarToDate(fields, back.get());
    ASSERT_EQ(DateText(back.get()), SecondsText(seconds));
  }
}

}  // namespace
}  // namespace osprevan::pdf
