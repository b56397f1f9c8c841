#include "ui/filter_dates.h"

#include "pdf/pdf_tables.h"

namespace osprevan::ui {
namespace {

// The span from the library's zero date to `date`.
OkDateSpan SpanSinceZero(const OkDate* date) {
  const OkDatesTable* dates = pdf::Tables().dates;
  OkDate* zero = dates->PdfDateNew();
  const OkDateSpan span = dates->PdfDateSpan(zero, date);
  dates->PdfDateFree(zero);
  return span;
}

}  // namespace

void TruncateToDay(OkDate* date) {
  const OkDatesTable* dates = pdf::Tables().dates;
  OkDateSpan span = SpanSinceZero(date);
  span.hours = span.minutes = span.seconds = 0;
  dates->PdfDateClear(date);
  dates->PdfDateAddSpan(date, &span);
}

win::SYSTEMTIME DateToCalendar(const OkDate* date) {
  const OkDateSpan span = SpanSinceZero(date);
  win::SYSTEMTIME fields;
  fields.wYear = static_cast<uint16_t>(1970 + span.years);
  fields.wMonth = static_cast<uint16_t>(1 + span.months);
  fields.wDay = static_cast<uint16_t>(1 + span.days);
  fields.wHour = static_cast<uint16_t>(span.hours);
  fields.wMinute = static_cast<uint16_t>(span.minutes);
  fields.wSecond = static_cast<uint16_t>(span.seconds);
  return fields;
}

void CalendarToDate(const win::SYSTEMTIME& fields, OkDate* date) {
  const OkDatesTable* dates = pdf::Tables().dates;
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

}  // namespace osprevan::ui
