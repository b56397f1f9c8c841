// One date of the filter criteria (the first or the last day whose comments pass). The PDF
// library holds it, so that the filter compares it with the comments' dates in the library's own
// calendar: it is made with the criteria (none when the library is not loaded) and freed with
// them. The dialogs show and set it as calendar fields; only pdf/ reaches the library's date
// (pdf/library_handles.h).
#pragma once

#include "platform/win/date_time_picker.h"

namespace osprevan::pdf {

class CriteriaDate {
 public:
  CriteriaDate();
  ~CriteriaDate();
  CriteriaDate(const CriteriaDate&) = delete;
  CriteriaDate& operator=(const CriteriaDate&) = delete;

  // Whether the library made it.
  bool made() const { return date_ != nullptr; }
  // The date as a date picker takes it; the day of the week and the milliseconds are 0.
  win::SYSTEMTIME Calendar() const;
  // Sets the date from the calendar fields; the day of the week and the milliseconds are ignored.
  void SetCalendar(const win::SYSTEMTIME& fields);

 private:
  friend struct LibraryHandles;
  // The library's date, or null. Untyped so that this header needs nothing of the library.
  void* date_ = nullptr;
};

}  // namespace osprevan::pdf
