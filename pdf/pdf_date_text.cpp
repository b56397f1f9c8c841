#include "pdf/pdf_date_text.h"

#include <chrono>

namespace osprevan::pdf {
namespace {

// Reads `count` digits at `at` into `out` when a digit stands there; a missing field keeps
// `out` and answers true, so that a date may stop after any field.
bool Field(std::string_view text, size_t& at, int count, int low, int high, int& out) {
  if (at >= text.size() || text[at] < '0' || text[at] > '9') return true;
  if (text.size() - at < static_cast<size_t>(count)) return false;
  int value = 0;
  for (int i = 0; i < count; ++i, ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    value = value * 10 + (text[at] - '0');
  }
  out = value;
  return value >= low && value <= high;
}

}  // namespace

std::optional<int64_t> PdfDateSeconds(std::string_view text) {
  size_t at = text.substr(0, 2) == "D:" ? 2 : 0;
  int year = -1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  if (!Field(text, at, 4, 0, 9999, year) || year < 0) return std::nullopt;
  if (!Field(text, at, 2, 1, 12, month) || !Field(text, at, 2, 1, 31, day) ||
      !Field(text, at, 2, 0, 23, hour) || !Field(text, at, 2, 0, 59, minute) ||
      !Field(text, at, 2, 0, 59, second)) {
    return std::nullopt;
  }
  using namespace std::chrono;
  const year_month_day date{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                            std::chrono::day{unsigned(day)}};
  if (!date.ok()) return std::nullopt;  // the 30th of February
  int64_t offset = 0;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    const int sign = text[at] == '+' ? 1 : -1;
    ++at;
    int offsetHours = 0, offsetMinutes = 0;
    if (!Field(text, at, 2, 0, 23, offsetHours)) return std::nullopt;
    if (at < text.size() && text[at] == '\'') ++at;
    if (!Field(text, at, 2, 0, 59, offsetMinutes)) return std::nullopt;
    offset = sign * (offsetHours * 3600 + offsetMinutes * 60);
  }
  const seconds since =
      sys_days{date}.time_since_epoch() + hours{hour} + minutes{minute} + seconds{second};
  return since.count() - offset;
}

}  // namespace osprevan::pdf
