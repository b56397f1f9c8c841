// The kinds of comment the import brings in, as bit flags (the same values form the filter's
// kind mask and index the statistics), and the PDF subtypes that read as each.
#pragma once

#include <cstdint>
#include <string_view>

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

// Every kind a subtype reads as; a strike-out or deletion may also read as a Replace.
constexpr uint32_t kAllCommentKinds = [] {
  uint32_t kinds = Replace;
  for (const CommentSubtype& row : kCommentSubtypes) kinds |= row.kind;
  return kinds;
}();

// Markup subtypes, which may hold a reviewer's words, that the import does not read: drawings.
// The summary counts them.
inline constexpr const char* kUnreadSubtypes[] = {"Square",   "Circle",        "Line",  "Polygon",
                                                  "PolyLine", "Ink",           "Stamp", "Sound",
                                                  "Redact",   "FileAttachment"};

// The row of the subtype with this name; null for a subtype the import does not read.
constexpr const CommentSubtype* FindCommentSubtype(std::string_view name) {
  for (const CommentSubtype& row : kCommentSubtypes) {
    if (name == row.name) return &row;
  }
  return nullptr;
}

}  // namespace osprevan::pdf
