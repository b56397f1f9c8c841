#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "ondrelkit/ondrelkit.h"
#include "plain_memory.h"

namespace ondrelkit::testing {
namespace {

// Seconds since 1970 of a UTC calendar date, computed independently through the C library.
int64_t Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return static_cast<int64_t>(timegm(&t));
}

class DatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(OkInitialize("1", &kPlainMemory), 0);
    d_ = static_cast<const OkDatesTable*>(OkGetFunctionTable("OkDates", 1));
    ASSERT_NE(d_, nullptr);
  }
  void TearDown() override { OkTerminate(); }
  OkDate* At(int64_t seconds) {
    OkDate* date = d_->PdfDateNew();
    d_->PdfDateFromTime(date, seconds);
    return date;
  }
  std::string Text(const OkDate* date) {
    char buffer[32];
    d_->PdfDateText(date, kPdfDateSortable, buffer, sizeof buffer);
    return buffer;
  }
  const OkDatesTable* d_ = nullptr;
};

TEST_F(DatesTest, NewDateIsTheEpochAndTextSorts) {
  OkDate* zero = d_->PdfDateNew();
  EXPECT_EQ(Text(zero), "1970/01/01 00:00:00");
  OkDate* later = At(Utc(2026, 12, 6, 14, 3, 59));
  EXPECT_EQ(Text(later), "2026/12/06 14:03:59");
  EXPECT_EQ(d_->PdfDateCompare(zero, later), -1);
  EXPECT_EQ(d_->PdfDateCompare(later, zero), 1);
  OkDate* copy = d_->PdfDateClone(later);
  EXPECT_EQ(d_->PdfDateCompare(copy, later), 0);
  d_->PdfDateClear(copy);
  EXPECT_EQ(d_->PdfDateCompare(copy, zero), 0);
  for (OkDate* x : {zero, later, copy}) d_->PdfDateFree(x);
}

// SetNow reads the clock, which this test brackets; Copy overwrites one date with another
// and leaves the source alone.
TEST_F(DatesTest, SetNowAndCopy) {
  OkDate* now = d_->PdfDateNew();
  const int64_t before = static_cast<int64_t>(std::time(nullptr));
  d_->PdfDateSetNow(now);
  const int64_t after = static_cast<int64_t>(std::time(nullptr));
  OkDate* low = At(before);
  OkDate* high = At(after);
  EXPECT_LE(d_->PdfDateCompare(low, now), 0);
  EXPECT_GE(d_->PdfDateCompare(high, now), 0);
  OkDate* target = At(Utc(2001, 5, 6, 7, 8, 9));
  d_->PdfDateCopy(low, target);
  EXPECT_EQ(d_->PdfDateCompare(target, low), 0);
  d_->PdfDateFromTime(low, Utc(1990, 1, 1));
  EXPECT_EQ(d_->PdfDateCompare(target, low), 1);  // a copy, not a shared date
  EXPECT_THROW(d_->PdfDateCopy(nullptr, target), PdfError);
  EXPECT_THROW(d_->PdfDateCopy(low, nullptr), PdfError);
  EXPECT_THROW(d_->PdfDateSetNow(nullptr), PdfError);
  for (OkDate* x : {now, low, high, target}) d_->PdfDateFree(x);
}

TEST_F(DatesTest, SpanFromZeroGivesCalendarFields) {
  OkDate* zero = d_->PdfDateNew();
  OkDate* date = At(Utc(2024, 2, 29, 23, 59, 58));
  const OkDateSpan span = d_->PdfDateSpan(zero, date);
  EXPECT_EQ(1970 + span.years, 2024);
  EXPECT_EQ(1 + span.months, 2);
  EXPECT_EQ(1 + span.days, 29);
  EXPECT_EQ(span.hours, 23);
  EXPECT_EQ(span.minutes, 59);
  EXPECT_EQ(span.seconds, 58);
  // Truncating to the day: the span without its time, added to a cleared date.
  OkDateSpan day = span;
  day.hours = day.minutes = day.seconds = 0;
  d_->PdfDateClear(date);
  d_->PdfDateAddSpan(date, &day);
  EXPECT_EQ(Text(date), "2024/02/29 00:00:00");
  d_->PdfDateFree(zero);
  d_->PdfDateFree(date);
}

TEST_F(DatesTest, SpanThenAddGivesBackTheDate) {
  const int64_t samples[] = {
      Utc(1999, 12, 31, 23, 59, 59), Utc(2000, 2, 29, 12),       Utc(2023, 1, 31),
      Utc(2023, 3, 1, 0, 0, 1),      Utc(2038, 1, 19, 3, 14, 8), Utc(1970, 1, 1)};
  for (int64_t a : samples) {
    for (int64_t b : samples) {
      OkDate* from = At(a);
      OkDate* to = At(b);
      const OkDateSpan span = d_->PdfDateSpan(from, to);
      if (b >= a) {
        d_->PdfDateAddSpan(from, &span);
        EXPECT_EQ(d_->PdfDateCompare(from, to), 0) << a << " -> " << b;
      }
      d_->PdfDateFree(from);
      d_->PdfDateFree(to);
    }
  }
}

TEST_F(DatesTest, MonthsKeepTheDayInsideTheMonth) {
  OkDate* date = At(Utc(2023, 1, 31));
  const OkDateSpan oneMonth{0, 1, 0, 0, 0, 0};
  d_->PdfDateAddSpan(date, &oneMonth);
  EXPECT_EQ(Text(date), "2023/02/28 00:00:00");
  OkDate* leap = At(Utc(2024, 1, 31));
  d_->PdfDateAddSpan(leap, &oneMonth);
  EXPECT_EQ(Text(leap), "2024/02/29 00:00:00");
  const OkDateSpan back{0, -13, 0, 0, 0, 0};
  d_->PdfDateAddSpan(leap, &back);
  EXPECT_EQ(Text(leap), "2023/01/29 00:00:00");
  d_->PdfDateFree(date);
  d_->PdfDateFree(leap);
}

TEST_F(DatesTest, FixedPointRoundTrips) {
  EXPECT_EQ(d_->PdfFloatToFixed(1.5f), 0x18000);
  EXPECT_FLOAT_EQ(d_->PdfFixedToFloat(0x18000), 1.5f);
  EXPECT_FLOAT_EQ(d_->PdfFixedToFloat(d_->PdfFloatToFixed(-842.25f)), -842.25f);
  EXPECT_THROW(d_->PdfFloatToFixed(1e9f), PdfError);  // beyond 16.16
}

}  // namespace
}  // namespace ondrelkit::testing
