#include "pdf/comment_boxes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>

#include "pdf/annotation_entry.h"
#include "pdf/annotation_handles.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

constexpr int32_t kQuadNumbers = 8;

// The number at `index`; nothing for an entry that is not a number, or not a finite one that
// fits 16.16 fixed point (the library refuses those).
std::optional<float> NumberAt(const OkObj* array, int32_t index) {
  const PdfTables& t = Tables();
  OkObj* item = nullptr;
  const std::optional<float> number = Guarded(
      [&]() -> std::optional<float> {
        item = t.objects->PdfArrayGet(array, index);
        const float value = t.dates->PdfFixedToFloat(t.objects->PdfFixedValue(item));
        if (!std::isfinite(value)) return std::nullopt;
        return value;
      },
      std::optional<float>{});
  ReleaseHandle(item);
  return number;
}

// The sides of the points (x, y pairs) read from `array` at `start`: nothing when one of them is
// unusable. Taking the smallest and largest of each axis makes the order of the corners, which
// viewers write differently, irrelevant.
template <size_t Numbers>
std::optional<UserRect> SidesAt(const OkObj* array, int32_t start) {
  std::array<float, Numbers> n{};
  for (size_t i = 0; i < Numbers; ++i) {
    const std::optional<float> value = NumberAt(array, start + static_cast<int32_t>(i));
    if (!value) return std::nullopt;
    n[i] = *value;
  }
  UserRect sides{n[0], n[1], n[0], n[1]};
  for (size_t i = 2; i < Numbers; i += 2) {
    sides.xMin = std::min(sides.xMin, n[i]);
    sides.xMax = std::max(sides.xMax, n[i]);
    sides.yMin = std::min(sides.yMin, n[i + 1]);
    sides.yMax = std::max(sides.yMax, n[i + 1]);
  }
  return sides;
}

// An entry of the annotation with the length it has as an array (0 for anything else).
OkObj* ArrayEntry(const OkAnnot* annot, const char* key, int32_t& length) {
  const OkObjectsTable* o = Tables().objects;
  OkObj* entry = AnnotEntry(annot, key);
  length = 0;
  if (entry) {
    length = Guarded(
        [&] { return o->PdfObjType(entry) == kPdfArray ? o->PdfArrayLength(entry) : 0; }, 0);
  }
  return entry;
}

// A Caret's box comes from its raw "Rect": a rectangle needs exactly its four numbers.
std::optional<UserRect> RawRect(const OkAnnot* annot) {
  int32_t length = 0;
  OkObj* rect = ArrayEntry(annot, "Rect", length);
  std::optional<UserRect> sides;
  if (length == 4) sides = SidesAt<4>(rect, 0);
  ReleaseHandle(rect);
  return sides;
}

std::optional<UserRect> AnnotRect(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  return Guarded(
      [&]() -> std::optional<UserRect> {
        PdfFixed r[4];
        t.pages->PdfAnnotRect(annot, r);
        return UserRect{t.dates->PdfFixedToFloat(r[0]), t.dates->PdfFixedToFloat(r[1]),
                        t.dates->PdfFixedToFloat(r[2]), t.dates->PdfFixedToFloat(r[3])};
      },
      std::optional<UserRect>{});
}

// The margin goes along the text, which runs along the x axis of user space on every page the
// host writes, whatever the page's rotation shows.
UserRect Widened(UserRect sides) {
  sides.xMin -= kCommentMargin;
  sides.xMax += kCommentMargin;
  return sides;
}

void AddBox(PdfComment& comment, const UserRect& sides, const PageValues& page) {
  comment.AddBox(std::make_unique<CommentBox>(CommentBoxFromRect(sides, page)));
}

// A quadrilateral that can mark text: it has an area, and it touches the annotation's
// rectangle when that can be read. Writers that leave the quadrilaterals at zero, or copy them
// from another annotation, still give a rectangle that says where the markup is.
bool MarksText(const UserRect& quad, const std::optional<UserRect>& rect) {
  constexpr float kLeastSide = 0.01f;
  constexpr float kRectSlack = 1.0f;  // rounding of writers that write the Rect from the quads
  if (!(quad.xMax - quad.xMin > kLeastSide && quad.yMax - quad.yMin > kLeastSide)) return false;
  if (!rect) return true;
  return quad.xMin <= rect->xMax + kRectSlack && rect->xMin - kRectSlack <= quad.xMax &&
         quad.yMin <= rect->yMax + kRectSlack && rect->yMin - kRectSlack <= quad.yMax;
}

// One box for each whole quadrilateral that marks text; answers how many were added.
size_t AddQuadBoxes(PdfComment& comment, const PageValues& page,
                    const std::optional<UserRect>& rect) {
  int32_t length = 0;
  OkObj* quads = ArrayEntry(AnnotOf(comment), "QuadPoints", length);
  size_t added = 0;
  // A last group with numbers missing is skipped, so no number past the end is read; a group
  // with a damaged number is skipped alone.
  for (int32_t start = 0; length - start >= kQuadNumbers; start += kQuadNumbers) {
    const std::optional<UserRect> sides = SidesAt<kQuadNumbers>(quads, start);
    if (sides && MarksText(*sides, rect)) {
      AddBox(comment, Widened(*sides), page);
      comment.AddArea(*sides, AreaRule::Markup);
      ++added;
    }
  }
  ReleaseHandle(quads);
  return added;
}

bool SubtypeIsOneOf(const PdfComment& comment, std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names) {
    if (comment.subtypeName() == name) return true;
  }
  return false;
}

// The caret as drawn: the Rect less its "RD" insets (left, top, right, bottom). Insets that are
// not four finite numbers of at least 0, or that leave nothing of the Rect, are not used.
UserRect DrawnCaret(const PdfComment& comment, const UserRect& rect) {
  int32_t length = 0;
  OkObj* insets = ArrayEntry(AnnotOf(comment), "RD", length);
  std::optional<std::array<float, 4>> rd;
  if (length == 4) {
    std::array<float, 4> n{};
    bool usable = true;
    for (int32_t i = 0; i < 4 && usable; ++i) {
      const std::optional<float> value = NumberAt(insets, i);
      usable = value && *value >= 0.0f;
      if (usable) n[static_cast<size_t>(i)] = *value;
    }
    if (usable) rd = n;
  }
  ReleaseHandle(insets);
  if (!rd) return rect;
  const auto& [left, top, right, bottom] = *rd;
  const UserRect drawn{rect.xMin + left, rect.yMin + bottom, rect.xMax - right, rect.yMax - top};
  if (!(drawn.xMin < drawn.xMax && drawn.yMin < drawn.yMax)) return rect;
  return drawn;
}

// Whether the free text's "IT" lets its "CL" count: absent, or the name "FreeTextCallout". A
// free text of another intent draws no callout line, whatever "CL" holds.
bool IntentAllowsCallout(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  OkObj* intent = AnnotEntry(annot, "IT");
  const bool allows = Guarded(
      [&] {
        const int32_t type = t.objects->PdfObjType(intent);
        return type == kPdfNull || (type == kPdfName && t.objects->PdfNameValue(intent) ==
                                                            t.core->PdfAtom("FreeTextCallout"));
      },
      false);
  ReleaseHandle(intent);
  return allows;
}

// The point a free text's callout line starts at, where its arrow touches the text: the first
// of the two or three points of its "CL". Nothing without a readable callout line.
std::optional<UserRect> CalloutTip(const OkAnnot* annot) {
  if (!IntentAllowsCallout(annot)) return std::nullopt;
  int32_t length = 0;
  OkObj* line = ArrayEntry(annot, "CL", length);
  std::optional<UserRect> tip;
  if (length == 4 || length == 6) tip = SidesAt<2>(line, 0);
  ReleaseHandle(line);
  return tip;
}

}  // namespace

void ReadCommentBoxes(PdfComment& comment, const PageValues& page) {
  if (!AnnotOf(comment) || !Tables().core) return;
  if (SubtypeIsOneOf(comment, {"Caret"})) {
    if (const std::optional<UserRect> sides = RawRect(AnnotOf(comment))) {
      AddBox(comment, *sides, page);
      comment.AddArea(DrawnCaret(comment, *sides), AreaRule::Inset);
    }
    return;
  }
  // A note points at the text with its icon's corner, read from its rectangle below.
  if (SubtypeIsOneOf(comment, {"Text"})) comment.SetPointing(true);
  // A free text with a callout line points at the text with the line's tip, its box set
  // wherever there was room: over the margin, or over other text.
  if (SubtypeIsOneOf(comment, {"FreeText"})) {
    if (const std::optional<UserRect> tip = CalloutTip(AnnotOf(comment))) {
      AddBox(comment, *tip, page);
      comment.AddArea(*tip, AreaRule::Inset);
      comment.SetPointing(true);
      return;
    }
  }
  const std::optional<UserRect> rect = RawRect(AnnotOf(comment));
  if (AddQuadBoxes(comment, page, rect) > 0) return;
  // No quadrilateral (none given, fewer than eight numbers, or none usable: damaged, of no
  // area, or away from the rectangle): the rectangle. A text box, or a markup that lost its
  // quadrilaterals, is drawn over its text like markup.
  if (const std::optional<UserRect> sides = AnnotRect(AnnotOf(comment))) {
    AddBox(comment, *sides, page);
    const bool markup = SubtypeIsOneOf(
        comment, {"FreeText", "Highlight", "Underline", "Squiggly", "StrikeOut", "Deletion"});
    comment.AddArea(*sides, markup ? AreaRule::Markup : AreaRule::Inset);
  }
}

}  // namespace osprevan::pdf
