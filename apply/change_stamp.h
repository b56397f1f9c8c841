// Who made a tracked change and when, as the host keeps it on every character the change
// touches: the comment's author and its date (modification, else creation; the time of the
// import for a comment with neither).
#pragma once

#include <cstdint>
#include <string>

#include "pdf/pdf_comment.h"

namespace osprevan::apply {

struct ChangeStamp {
  std::string author;  // "<匿名>" when the comment has none
  int32_t time = 0;    // seconds since 1970-01-01 00:00:00 UTC
};

// The stamp of a comment's changes; a comment without a date is stamped with the time now;
// without a comment, an anonymous change at time 0.
ChangeStamp StampOf(const pdf::PdfComment* comment);

}  // namespace osprevan::apply
