#include "platform/win/date_time_picker.h"

#include <algorithm>
#include <ctime>

#include "platform/win/dialog_input.h"
#include "platform/win/window_record.h"

namespace win {
namespace {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// 0 for Sunday, as SYSTEMTIME counts.
uint16_t DayOfWeek(int year, int month, int day) {
  static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return static_cast<uint16_t>(
      (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7);
}

}  // namespace

bool IsValidSystemTime(const SYSTEMTIME& t) {
  return t.wYear >= 1601 && t.wYear <= 30827 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 &&
         t.wDay <= DaysInMonth(t.wYear, t.wMonth) && t.wHour < 24 && t.wMinute < 60 &&
         t.wSecond < 60 && t.wMilliseconds < 1000;
}

// A new picker shows the current local time, as a real one does.
SYSTEMTIME CurrentLocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  SYSTEMTIME t;
  t.wYear = static_cast<uint16_t>(local.tm_year + 1900);
  t.wMonth = static_cast<uint16_t>(local.tm_mon + 1);
  t.wDay = static_cast<uint16_t>(local.tm_mday);
  t.wDayOfWeek = static_cast<uint16_t>(local.tm_wday);
  t.wHour = static_cast<uint16_t>(local.tm_hour);
  t.wMinute = static_cast<uint16_t>(local.tm_min);
  t.wSecond = static_cast<uint16_t>(std::min(local.tm_sec, 59));
  return t;
}

LRESULT DatePickerProcedure(WindowRecord& picker, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* time = reinterpret_cast<SYSTEMTIME*>(lParam);
  switch (message) {
    case DTM_GETSYSTEMTIME:
      if (!time) return GDT_ERROR;
      if (!picker.hasDate) return GDT_NONE;
      *time = picker.time;
      time->wDayOfWeek = DayOfWeek(time->wYear, time->wMonth, time->wDay);
      return GDT_VALID;
    case DTM_SETSYSTEMTIME:
      if (static_cast<LRESULT>(wParam) == GDT_NONE) {
        picker.hasDate = false;
        return TRUE;
      }
      if (static_cast<LRESULT>(wParam) != GDT_VALID || !time || !IsValidSystemTime(*time)) {
        return FALSE;
      }
      picker.time = *time;
      picker.hasDate = true;
      return TRUE;
    default:
      return DefWindowProcedure(picker, message, wParam, lParam);
  }
}

bool PickDate(HWND handle, const SYSTEMTIME* date) {
  WindowRecord* picker = Record(handle);
  if (!picker || picker->kind != WindowClass::DatePicker || !picker->enabled) return false;
  if (date && !IsValidSystemTime(*date)) return false;
  SetFocus(handle);
  DatePickerProcedure(*picker, DTM_SETSYSTEMTIME, date ? GDT_VALID : GDT_NONE,
                      reinterpret_cast<LPARAM>(date));
  return true;
}

}  // namespace win
