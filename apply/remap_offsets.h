// Carrying a comment's offsets from the text a paragraph had when the PDF was made over into the
// text it has now, for a source that changed since.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace osprevan::apply {

struct RemapResult {
  uint32_t start = 0;
  uint32_t end = 0;
  bool trusted = false;  // false: the place is doubtful and the comment is misplaced
};

// Every offset and position counts characters (Unicode code points), the unit of the host's text
// offsets and of the PDF's characters; UTF-16 units would count a character beyond U+FFFF twice.
//
// `pdfText`: the element's text in the PDF, without the paragraph number; `start` and `end` are
// offsets in it. `hostText`: the paragraph's text now, U+0005 standing for one character of a
// footnote number (it matches any character of `pdfText`). `specialPositions`: where the host's
// special characters stand in `hostText`, each the index of the character itself.
//
// Equal texts keep the offsets. Otherwise both are carried through a minimal character
// difference; a start passes over text added right at it, an end (and a collapsed range) stays
// before such text. A range is trusted only when the new text holds, from the new start, the
// characters it covered (the end then follows the start). A point (`start` == `end`), which
// covers no characters, is trusted only when the text on both sides of it is as it was: up to 8
// characters each way, or up to the paragraph's edge when that is nearer, the edge then at the
// same distance. A trusted result counts without the special characters that stand before each
// offset; an untrusted one stays in characters of `hostText`.
//
// Never trusted: offsets beyond `pdfText` (clamped to it) or an end before the start (it becomes
// the start); texts that are not UTF-8, too long, or too far apart to compare (the offsets stay
// where they were).
RemapResult RemapOffsets(const std::string& pdfText, const std::string& hostText,
                         const std::vector<uint32_t>& specialPositions, uint32_t start,
                         uint32_t end);

}  // namespace osprevan::apply
