// An annotation the import could not read (a damaged entry of a page's list, an author or
// contents the library could not give): named in the report with its page and why, and counted
// in the summary, so that no reviewer's comment is left out unsaid.
#pragma once

#include <cstdint>
#include <string>

namespace osprevan::pdf {

struct UnreadAnnotation {
  int32_t page = -1;  // from 0
  std::string reason;
};

}  // namespace osprevan::pdf
