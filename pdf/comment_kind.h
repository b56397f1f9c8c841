// The kinds of comment the import brings in, as bit flags; the same values form the filter's
// kind mask and index the statistics.
#pragma once

#include <cstdint>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

enum CommentKind : uint32_t {
  NotImported = 0,
  Insert = 1,
  Delete = 2,
  Replace = 4,
  Highlight = 8,
  Underline = 16,
  Note = 32,
};

constexpr uint32_t kAllCommentKinds = 63;

// True when the annotation's dictionary has "IRT" and its "RT" is absent or the name "Group".
bool IsGroupMember(const OkAnnot* annot);

// The kind of an annotation by its subtype; "StrikeOut" and "Deletion" are a Replace when the
// annotation is a group member, else a Delete.
CommentKind ClassifyComment(ondrelkit::PdfAtom subtype, const OkAnnot* annot);

}  // namespace osprevan::pdf
