#include "pdf/comment_dates.h"

#include <chrono>
#include <cstring>

#include "pdf/filter_dates.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

std::string SortableDateText(const OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  if (!date || !dates) return "";
  // The library answers the whole length; a text longer than the buffer is asked again.
  std::string text(32, '\0');
  auto write = [&] {
    return Guarded(
        [&] { return dates->PdfDateText(date, kPdfDateSortable, text.data(), text.size()); },
        size_t{0});
  };
  const size_t length = write();
  if (length >= text.size()) {
    text.assign(length + 1, '\0');
    write();
  }
  text.resize(std::strlen(text.c_str()));
  return text;
}

int64_t SecondsSince1970(const OkDate* date) {
  if (!date || !Tables().dates) return 0;
  // The library's own calendar gives the fields; the civil-day count turns them into seconds.
  const win::SYSTEMTIME t = Guarded([&] { return DateToCalendar(date); }, win::SYSTEMTIME{});
  using namespace std::chrono;
  const year_month_day day{year{t.wYear}, month{t.wMonth}, std::chrono::day{t.wDay}};
  if (!day.ok()) return 0;  // the fallback of a library error, or fields out of range
  const seconds since =
      sys_days{day}.time_since_epoch() + hours{t.wHour} + minutes{t.wMinute} + seconds{t.wSecond};
  return since.count();
}

}  // namespace osprevan::pdf
