// Dates as seconds since 1970 (UTC), with calendar spans in the proleptic Gregorian calendar.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "poppler/Object.h"
#include "src/handles.h"
#include "src/operations.h"

namespace ondrelkit {
namespace {

struct Calendar {
  int64_t year;
  int month, day, hour, minute, second;  // month 1..12, day 1..31
};

// Days from 1970-01-01 to a civil date, and back (Howard Hinnant's algorithms).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Calendar CivilFromSeconds(int64_t seconds) {
  int64_t days = seconds / 86400;
  int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  const int64_t z = days + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  Calendar c;
  c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  c.year = yoe + era * 400 + (c.month <= 2);
  c.hour = static_cast<int>(rest / 3600);
  c.minute = static_cast<int>(rest / 60 % 60);
  c.second = static_cast<int>(rest % 60);
  return c;
}

int64_t SecondsFromCivil(const Calendar& c) {
  return DaysFromCivil(c.year, c.month, c.day) * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

int DaysInMonth(int64_t year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// Adds whole months, keeping the day inside the month reached and the time of day.
int64_t AddMonths(int64_t seconds, int64_t add) {
  Calendar c = CivilFromSeconds(seconds);
  const int64_t months = c.month - 1 + add + 12 * c.year;
  c.year = months >= 0 ? months / 12 : (months - 11) / 12;
  c.month = static_cast<int>(months - c.year * 12) + 1;
  if (c.day > DaysInMonth(c.year, c.month)) c.day = DaysInMonth(c.year, c.month);
  return SecondsFromCivil(c);
}

OkDate* Checked(OkDate* date) {
  RequireInitialised();
  if (!date) Raise(kErrBadArgument);
  return date;
}
const OkDate* Checked(const OkDate* date) {
  return Checked(const_cast<OkDate*>(date));
}

OkDate* DateNew() {
  RequireInitialised();
  return New<OkDate>();
}
OkDate* DateClone(const OkDate* date) {
  OkDate* copy = DateNew();
  copy->seconds = Checked(date)->seconds;
  return copy;
}
void DateCopy(const OkDate* source, OkDate* target) {
  Checked(target)->seconds = Checked(source)->seconds;
}
void DateFree(OkDate* date) {
  RequireInitialised();
  Release(date);
}
void DateClear(OkDate* date) {
  Checked(date)->seconds = 0;
}
void DateSetNow(OkDate* date) {
  Checked(date)->seconds = static_cast<int64_t>(std::time(nullptr));
}
void DateFromTime(OkDate* date, int64_t seconds) {
  Checked(date)->seconds = seconds;
}

int32_t DateCompare(const OkDate* a, const OkDate* b) {
  const int64_t x = Checked(a)->seconds, y = Checked(b)->seconds;
  return x < y ? -1 : (x > y ? 1 : 0);
}

// Whole months first (as AddSpan adds them, keeping the day inside the month), then the
// remaining time split into days, hours, minutes and seconds; so adding the span to `from`
// gives `to` back.
OkDateSpan Span(const OkDate* from, const OkDate* to) {
  int64_t a = Checked(from)->seconds, b = Checked(to)->seconds;
  const bool negative = b < a;
  if (negative) std::swap(a, b);
  const Calendar x = CivilFromSeconds(a), y = CivilFromSeconds(b);
  int64_t months = (y.year - x.year) * 12 + (y.month - x.month);
  int64_t reached = AddMonths(a, months);
  while (months > 0 && reached > b) reached = AddMonths(a, --months);
  int64_t rest = b - reached;
  const int sign = negative ? -1 : 1;
  OkDateSpan span{};
  span.years = static_cast<int32_t>(sign * (months / 12));
  span.months = static_cast<int32_t>(sign * (months % 12));
  span.days = static_cast<int32_t>(sign * (rest / 86400));
  rest %= 86400;
  span.hours = static_cast<int32_t>(sign * (rest / 3600));
  span.minutes = static_cast<int32_t>(sign * (rest / 60 % 60));
  span.seconds = static_cast<int32_t>(sign * (rest % 60));
  return span;
}

void AddSpan(OkDate* date, const OkDateSpan* span) {
  Checked(date);
  if (!span) Raise(kErrBadArgument);
  const int64_t months = 12LL * span->years + span->months;
  date->seconds = AddMonths(date->seconds, months) + span->days * 86400LL + span->hours * 3600LL +
                  span->minutes * 60LL + span->seconds;
}

size_t DateText(const OkDate* date, int32_t selector, char* buffer, size_t capacity) {
  const Calendar c = CivilFromSeconds(Checked(date)->seconds);
  if (selector != kPdfDateSortable) Raise(kErrBadArgument);
  char text[64];
  const int n =
      std::snprintf(text, sizeof text, "%04lld/%02d/%02d %02d:%02d:%02d",
                    static_cast<long long>(c.year), c.month, c.day, c.hour, c.minute, c.second);
  if (buffer && capacity) {
    const size_t length = std::min(static_cast<size_t>(n), capacity - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
  }
  return static_cast<size_t>(n);
}

// "D:YYYYMMDDHHmmSSOHH'mm'", every part after the year optional.
bool ParsePdfDate(const std::string& text, int64_t& seconds) {
  size_t at = text.compare(0, 2, "D:") == 0 ? 2 : 0;
  auto digits = [&](int count, int& out, int low, int high, int fallback) {
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
      out = fallback;
      return true;
    }
    if (at + count > text.size()) return false;
    out = 0;
    for (int i = 0; i < count; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(text[at + i]))) return false;
      out = out * 10 + (text[at + i] - '0');
    }
    at += count;
    return out >= low && out <= high;
  };
  int year, month, day, hour, minute, second;
  if (at + 4 > text.size()) return false;
  if (!digits(4, year, 0, 9999, -1) || year < 0) return false;
  if (!digits(2, month, 1, 12, 1) || !digits(2, day, 1, 31, 1) || !digits(2, hour, 0, 23, 0) ||
      !digits(2, minute, 0, 59, 0) || !digits(2, second, 0, 59, 0)) {
    return false;
  }
  if (day > DaysInMonth(year, month)) return false;
  int64_t offset = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    const int sign = text[at] == '+' ? 1 : -1;
    ++at;
    int oh = 0, om = 0;
    if (!digits(2, oh, 0, 23, 0)) return false;
    if (at < text.size() && text[at] == '\'') ++at;
    if (!digits(2, om, 0, 59, 0)) return false;
    offset = sign * (oh * 3600 + om * 60);
  }
  seconds = SecondsFromCivil({year, month, day, hour, minute, second}) - offset;
  return true;
}

void AnnotDate(const OkAnnot* annot, OkDate* date) {
  RequireInitialised();
  if (!annot) Raise(kErrBadArgument);
  Checked(date);
  Object value = annot->dict.dictLookup("M");
  if (!value.isString()) Raise(kErrNoDate);
  int64_t seconds = 0;
  if (!ParsePdfDate(value.getString()->toStr(), seconds)) Raise(kErrNoDate);
  date->seconds = seconds;
}

float FixedToFloat(PdfFixed value) {
  return static_cast<float>(value) / 65536.0f;
}
PdfFixed FloatToFixedF(float value) {
  return FloatToFixed(value);
}

}  // namespace

const OkDatesTable kDatesTable = {kOkDatesVersion, DateNew,      DateClone,    DateCopy,
                                  DateFree,        DateClear,    DateSetNow,   Span,
                                  AddSpan,         DateFromTime, DateText,     DateCompare,
                                  AnnotDate,       FixedToFloat, FloatToFixedF};

}  // namespace ondrelkit
