// Date-and-time picker messages, styles and the SYSTEMTIME record, with the values Windows
// gives them. A picker holds a valid date or, after GDT_NONE, no date.
#pragma once

#include <cstdint>

#include "platform/win/window.h"

namespace win {

struct SYSTEMTIME {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

constexpr uint32_t DTS_SHORTDATEFORMAT = 0x0000;
constexpr uint32_t DTS_SHOWNONE = 0x0002;
constexpr uint32_t DTS_RIGHTALIGN = 0x0020;

// lParam points to a SYSTEMTIME. GETSYSTEMTIME answers GDT_VALID or GDT_NONE; SETSYSTEMTIME
// takes GDT_VALID or GDT_NONE in wParam and answers nonzero when it took the value.
constexpr UINT DTM_GETSYSTEMTIME = 0x1001;
constexpr UINT DTM_SETSYSTEMTIME = 0x1002;

constexpr LRESULT GDT_ERROR = -1;
constexpr LRESULT GDT_VALID = 0;
constexpr LRESULT GDT_NONE = 1;

// True when the fields name a real calendar day and time of day (years 1601 to 30827).
bool IsValidSystemTime(const SYSTEMTIME& time);

}  // namespace win
