#include "apply/change_stamp.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "support/message_ids.h"
#include "support/ui_strings.h"

namespace osprevan::apply {

ChangeStamp StampOf(const pdf::PdfComment* comment) {
  ChangeStamp stamp;
  stamp.author = comment && !comment->author().empty() ? comment->author()
                                                       : support::UiString(support::MSG_ANONYMOUS);
  if (!comment) return stamp;
  // A comment without a date is a change made now, by the import, not one made in 1970.
  const int64_t seconds = comment->hasDate()
                              ? comment->dateSeconds()
                              : std::chrono::duration_cast<std::chrono::seconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
  // The host keeps the time in 32 bits; a date beyond that is held at the nearest end.
  constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
  constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();
  stamp.time = static_cast<int32_t>(std::clamp(seconds, kLowest, kHighest));
  return stamp;
}

}  // namespace osprevan::apply
