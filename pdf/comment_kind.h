// The kinds of comment the import brings in, as bit flags (the same values form the filter's
// kind mask and index the statistics), and the PDF subtypes that read as each.
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

// The subtypes the import reads, each with the kind it reads as. A strike-out or deletion that
// is a group member reads as a Replace instead (ClassifyComment).
struct CommentSubtype {
  const char* name;
  CommentKind kind;
  bool coversText;  // placed by the text it covers, which confirms the place; a text box is not
};

inline constexpr CommentSubtype kCommentSubtypes[] = {
    {"Caret", Insert, true},        {"StrikeOut", Delete, true},    {"Deletion", Delete, true},
    {"Highlight", Highlight, true}, {"Underline", Underline, true}, {"Squiggly", Underline, true},
    {"Text", Note, true},           {"FreeText", Note, false},
};

// Markup subtypes, which may hold a reviewer's words, that the import does not read: drawings.
// The summary counts them.
inline constexpr const char* kUnreadSubtypes[] = {"Square",   "Circle",        "Line",  "Polygon",
                                                  "PolyLine", "Ink",           "Stamp", "Sound",
                                                  "Redact",   "FileAttachment"};

// The row of a subtype; null for a subtype the import does not read, or when the library cannot
// name it.
const CommentSubtype* FindCommentSubtype(ondrelkit::PdfAtom subtype);

// True when the annotation's dictionary has "IRT" and its "RT" is absent or the name "Group".
bool IsGroupMember(const OkAnnot* annot);
// True when the annotation's dictionary has "IRT" and its "RT" is the name "Group": without RT,
// an annotation other than a strike-out answers its IRT, as the entry's default says.
bool IsNamedGroupMember(const OkAnnot* annot);

// The kind of an annotation by its subtype; "StrikeOut" and "Deletion" are a Replace when the
// annotation is a group member, else a Delete.
CommentKind ClassifyComment(ondrelkit::PdfAtom subtype, const OkAnnot* annot);

}  // namespace osprevan::pdf
