// Calendar arithmetic on PDF library dates, done with the library's own spans so that it stays
// consistent with the library's calendar.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "platform/win/date_time_picker.h"

namespace osprevan::pdf {

// Sets the time of day to midnight.
void TruncateToDay(OkDate* date);
// The date as a date picker takes it; the day of the week is 0 and the milliseconds are 0.
win::SYSTEMTIME DateToCalendar(const OkDate* date);
// Sets the date from the calendar fields; the day of the week and the milliseconds are ignored.
void CalendarToDate(const win::SYSTEMTIME& fields, OkDate* date);

}  // namespace osprevan::pdf
