// A host paragraph's text as its PDF shows it, each shown character tied to its position in
// the host: what locating a comment counts in, and what the PDF text is compared with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tolvane/numbers.h"

namespace osprevan::apply {

struct ShownParagraph {
  // The shown characters, UTF-8: strings outside hidden pairs and hidden conditions; a
  // footnote anchor shows as U+0005 once for each character of its number. Without the
  // paragraph's number string.
  std::string text;
  // For each shown character, the host position it starts at and the one after it (a
  // footnote number's characters all stand at their anchor).
  std::vector<int32_t> start;
  std::vector<int32_t> end;
  // Host positions of the paragraph's text, the paragraph end not included.
  int32_t length = 0;
  // Characters of the number string the PDF shows before the text; 0 when it is not shown.
  int32_t numberLength = 0;

  size_t count() const { return start.size(); }
  // Where counting reaches `shown` characters first (before any item that follows the last
  // of them), or, with `passing`, last (just before the next shown character).
  int32_t HostOffset(size_t shown, bool passing) const;
};

ShownParagraph ReadShownParagraph(tolvane::ObjectId document, tolvane::ObjectId paragraph);

}  // namespace osprevan::apply
