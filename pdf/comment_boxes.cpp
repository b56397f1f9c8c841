#include "pdf/comment_boxes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "pdf/annotation_entry.h"
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

// The margin goes on the sides that are left and right on the page as shown: x on an upright
// page, y on a page turned a quarter.
UserRect Widened(UserRect sides, const PageValues& page) {
  if (page.pageRotation == 90 || page.pageRotation == 270) {
    sides.yMin -= kCommentMargin;
    sides.yMax += kCommentMargin;
  } else {
    sides.xMin -= kCommentMargin;
    sides.xMax += kCommentMargin;
  }
  return sides;
}

void AddBox(PdfComment& comment, const UserRect& sides, const PageValues& page) {
  comment.AddBox(std::make_unique<CommentBox>(CommentBoxFromRect(sides, page)));
}

// One box for each whole quadrilateral; answers how many were added.
size_t AddQuadBoxes(PdfComment& comment, const PageValues& page) {
  int32_t length = 0;
  OkObj* quads = ArrayEntry(comment.annot(), "QuadPoints", length);
  size_t added = 0;
  // A last group with numbers missing is skipped, so no number past the end is read; a group
  // with a damaged number is skipped alone.
  for (int32_t start = 0; length - start >= kQuadNumbers; start += kQuadNumbers) {
    if (const std::optional<UserRect> sides = SidesAt<kQuadNumbers>(quads, start)) {
      AddBox(comment, Widened(*sides, page), page);
      ++added;
    }
  }
  ReleaseHandle(quads);
  return added;
}

bool IsCaret(const PdfComment& comment) {
  return Guarded([&] { return comment.subtype() == Tables().core->PdfAtom("Caret"); }, false);
}

}  // namespace

void ReadCommentBoxes(PdfComment& comment, const PageValues& page) {
  if (!comment.annot() || !Tables().core) return;
  if (IsCaret(comment)) {
    if (const std::optional<UserRect> sides = RawRect(comment.annot()))
      AddBox(comment, *sides, page);
    return;
  }
  if (AddQuadBoxes(comment, page) > 0) return;
  // No quadrilateral (none given, fewer than eight numbers, or none usable): the rectangle.
  if (const std::optional<UserRect> sides = AnnotRect(comment.annot()))
    AddBox(comment, *sides, page);
}

}  // namespace osprevan::pdf
