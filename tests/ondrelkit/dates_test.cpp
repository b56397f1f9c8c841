// Dates as the filter and the report use them: text, order, copies, spans and months.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "library_session.h"

namespace ondrelkit::testing {
namespace {

// Seconds since 1970 of a UTC calendar date, computed independently through the C library.
int64_t Utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  std::tm t{};
  t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
  t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
  return static_cast<int64_t>(timegm(&t));
}

class DatesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (OkDate* date : dates_) d_->PdfDateFree(date);
  }
  OkDate* At(int64_t seconds) {
    OkDate* date = dates_.emplace_back(d_->PdfDateNew());
    d_->PdfDateFromTime(date, seconds);
    return date;
  }
  std::string Text(const OkDate* date) {
    char buffer[32];
    d_->PdfDateText(date, kPdfDateSortable, buffer, sizeof buffer);
    return buffer;
  }

  LibrarySession lib_;
  const OkDatesTable* d_ = static_cast<const OkDatesTable*>(OkGetFunctionTable("OkDates", 1));
  std::vector<OkDate*> dates_;
};

TEST_F(DatesTest, CopiesAreTheirOwnAndOrderFollowsTime) {
  OkDate* zero = At(0);
  OkDate* later = At(Utc(2026, 12, 6, 14, 3, 59));
  EXPECT_EQ(d_->PdfDateCompare(zero, later), -1);
  EXPECT_EQ(d_->PdfDateCompare(later, zero), 1);
  OkDate* copy = dates_.emplace_back(d_->PdfDateClone(later));
  d_->PdfDateClear(copy);
  EXPECT_EQ(d_->PdfDateCompare(copy, zero), 0);
  d_->PdfDateCopy(later, copy);
  d_->PdfDateFromTime(later, Utc(1990, 1, 1));
  EXPECT_EQ(Text(copy), "2026/12/06 14:03:59");  // a copy, not a shared date
  EXPECT_THROW(d_->PdfDateCopy(nullptr, copy), PdfError);
  const int64_t before = static_cast<int64_t>(std::time(nullptr));
  d_->PdfDateSetNow(copy);
  EXPECT_LE(d_->PdfDateCompare(At(before), copy), 0);
  EXPECT_GE(d_->PdfDateCompare(At(static_cast<int64_t>(std::time(nullptr))), copy), 0);
}

// A span from one date added to it gives the other; months keep the day inside the month.
TEST_F(DatesTest, SpansAddBackAndMonthsKeepTheDayInsideTheMonth) {
  const int64_t samples[] = {Utc(1999, 12, 31, 23, 59, 59), Utc(2000, 2, 29, 12), Utc(2023, 1, 31),
                             Utc(2038, 1, 19, 3, 14, 8), 0};
  for (int64_t a : samples) {
    for (int64_t b : samples) {
      if (b < a) continue;
      OkDate* from = At(a);
      const OkDateSpan span = d_->PdfDateSpan(from, At(b));
      d_->PdfDateAddSpan(from, &span);
      EXPECT_EQ(d_->PdfDateCompare(from, At(b)), 0) << a << " -> " << b;
    }
  }
  const struct {
    int64_t from;
    int months;
    const char* to;
  } cases[] = {{Utc(2023, 1, 31), 1, "2023/02/28 00:00:00"},
               {Utc(2024, 1, 31), 1, "2024/02/29 00:00:00"},
               {Utc(2024, 2, 29), -13, "2023/01/29 00:00:00"}};
  for (const auto& c : cases) {
    OkDate* date = At(c.from);
    const OkDateSpan span{0, c.months, 0, 0, 0, 0};
    d_->PdfDateAddSpan(date, &span);
    EXPECT_EQ(Text(date), c.to);
  }
  EXPECT_THROW(d_->PdfFloatToFixed(1e9f), PdfError);  // 16.16 numbers refuse what does not fit
}

}  // namespace
}  // namespace ondrelkit::testing
