#include "pdf/filter_dates.h"

#include "filter_test_support.h"

namespace osprevan::pdf {
namespace {

using testing::DateText;
using testing::SecondsText;
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

// A date to the pickers' fields and back, and to its day: a leap day, month and year ends, the
// library's zero date and before it, as far back as a picker goes.
TEST_F(FilterDatesTest, DatesConvertToThePickersFieldsAndBackAndTruncateToTheirDay) {
  const win::SYSTEMTIME cases[] = {
      Fields(2024, 2, 29, 23, 59, 59),  Fields(1999, 12, 31, 23, 59, 59),
      Fields(2100, 3, 1, 18, 45),       Fields(1970, 1, 1),
      Fields(1969, 12, 31, 23, 59, 59), Fields(1969, 11, 30, 10),
      Fields(1601, 1, 1, 0, 0, 1)};
  for (const win::SYSTEMTIME& f : cases) {
    SCOPED_TRACE(FieldsText(f));
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
    EXPECT_EQ(DateText(back.get()), SecondsText(seconds));
    TruncateToDay(date.get());
    EXPECT_EQ(DateText(date.get()), SecondsText(UtcSeconds(f.wYear, f.wMonth, f.wDay)));
  }
}

}  // namespace
}  // namespace osprevan::pdf
