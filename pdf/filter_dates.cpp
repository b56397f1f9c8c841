#include "pdf/filter_dates.h"

#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

// A span to a date from the first of January of `year`.
struct SpanFromYear {
  int32_t year;
  OkDateSpan span;
};

// The span from the library's zero date to `date`. Before the zero date a span runs backwards,
// and neither calendar fields nor the day's midnight can be read from it, so there the span is
// taken from a first of January at or before the date instead.
SpanFromYear SpanTo(const OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  OkDate* from = dates->PdfDateNew();
  SpanFromYear out{1970, dates->PdfDateSpan(from, date)};
  const OkDateSpan& s = out.span;
  if (s.years < 0 || s.months < 0 || s.days < 0 || s.hours < 0 || s.minutes < 0 || s.seconds < 0) {
    OkDateSpan back{};
    back.years = out.span.years - 1;
    dates->PdfDateAddSpan(from, &back);
    out = {1970 + back.years, dates->PdfDateSpan(from, date)};
  }
  dates->PdfDateFree(from);
  return out;
}

}  // namespace

void TruncateToDay(OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  const SpanFromYear from = SpanTo(date);
  OkDateSpan span = from.span;
  span.years += from.year - 1970;
  span.hours = span.minutes = span.seconds = 0;
  dates->PdfDateClear(date);
  dates->PdfDateAddSpan(date, &span);
}

win::SYSTEMTIME DateToCalendar(const OkDate* date) {
  const SpanFromYear from = SpanTo(date);
  win::SYSTEMTIME fields;
  fields.wYear = static_cast<uint16_t>(from.year + from.span.years);
  fields.wMonth = static_cast<uint16_t>(1 + from.span.months);
  fields.wDay = static_cast<uint16_t>(1 + from.span.days);
  fields.wHour = static_cast<uint16_t>(from.span.hours);
  fields.wMinute = static_cast<uint16_t>(from.span.minutes);
  fields.wSecond = static_cast<uint16_t>(from.span.seconds);
  return fields;
}

void CalendarToDate(const win::SYSTEMTIME& fields, OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  OkDateSpan span{};
  span.years = fields.wYear - 1970;
  span.months = fields.wMonth - 1;
  span.days = fields.wDay - 1;
  span.hours = fields.wHour;
  span.minutes = fields.wMinute;
  span.seconds = fields.wSecond;
  dates->PdfDateClear(date);
  dates->PdfDateAddSpan(date, &span);
}

}  // namespace osprevan::pdf
