#include "apply/placement.h"

#include <iterator>

#include "apply/outcome_counters.h"
#include "apply/text_conditions.h"
#include "apply/tracked_changes.h"
#include "support/message_ids.h"

namespace osprevan::apply {
namespace {

using namespace support;
using K = PlacementKind;

// In the order of PlacementKind, which indexes it.
constexpr PlacementKindRow kKinds[] = {
    {.kind = K::Other,
     .name = "other",
     .read = pdf::NotImported,
     .marker = {.label = MSG_UNKNOWN, .ownText = OwnText::None},
     .markerRule = {.aloneOnEmptyRange = true},
     .effect = {.applied = Applied::Nothing}},
    {.kind = K::Highlight,
     .name = "highlight",
     .read = pdf::Highlight,
     .withContents = K::HighlightNote,
     .marker = {.label = MSG_KIND_HIGHLIGHT, .markedTextLabel = MSG_HIGHLIGHTED_TEXT},
     .markerRule = {.aloneOnEmptyRange = true},
     .effect = {.applied = Applied::Condition, .apply = ApplyHighlight, .marksToRangeEnd = true}},
    {.kind = K::Underline,
     .name = "underline",
     .read = pdf::Underline,
     .marker = {.label = MSG_KIND_UNDERLINE, .markedTextLabel = MSG_UNDERLINED_TEXT},
     .markerRule = {.aloneOnEmptyRange = true},
     .effect = {.applied = Applied::Condition, .apply = ApplyUnderline, .marksToRangeEnd = true}},
    {.kind = K::Deletion,
     .name = "deletion",
     .read = pdf::Delete,
     .marker = {.label = MSG_KIND_DELETE, .markedTextLabel = MSG_DELETED_TEXT},
     .markerRule = {.aloneOnEmptyRange = true, .insideChange = true},
     .effect = {.applied = Applied::TrackedChange,
                .apply = ApplyDeletion,
                .strikes = true,
                .marksToRangeEnd = true}},
    {.kind = K::Note,
     .name = "note",
     .read = pdf::Note,
     .placedWherePointed = true,
     .marker = {.label = MSG_KIND_NOTE, .blankField = true},
     .markerRule = {.always = true},
     .effect = {.applied = Applied::Marker}},
    {.kind = K::HighlightNote,
     .name = "highlight note",
     .read = pdf::Highlight,
     .marker = {.label = MSG_KIND_HIGHLIGHT, .markedTextLabel = MSG_HIGHLIGHTED_TEXT},
     .markerRule = {.always = true, .aloneOnEmptyRange = true},
     .effect = {.applied = Applied::Condition, .apply = ApplyHighlight, .marksToRangeEnd = true}},
    {.kind = K::Replacement,
     .name = "replacement",
     .read = pdf::Replace,
     .marker = {.label = MSG_KIND_REPLACE,
                .ownText = OwnText::New,
                .markedTextLabel = MSG_REPLACED_TEXT},
     .markerRule = {.always = true, .aloneOnEmptyRange = true},
     .effect = {.applied = Applied::TrackedChange,
                .apply = ApplyReplacement,
                .strikes = true,
                .inserts = true}},
    {.kind = K::Insertion,
     .name = "insertion",
     .read = pdf::Insert,
     .marker = {.label = MSG_KIND_INSERT, .ownText = OwnText::Added},
     .markerRule = {.always = true},
     .effect = {.applied = Applied::TrackedChange,
                .apply = ApplyInsertion,
                .inserts = true,
                .atPoint = true}},
};

constexpr bool InKindOrder() {
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    if (static_cast<size_t>(kKinds[i].kind) != i) return false;
  }
  return true;
}
static_assert(InKindOrder(), "kKinds is indexed by PlacementKind");

}  // namespace

const char* ReasonName(PlacementReason reason) {
  switch (reason) {
    case PlacementReason::None:
      return "";
    case PlacementReason::Unconfirmed:
      return "unconfirmed by the PDF text";
    case PlacementReason::NoElement:
      return "no structure element";
    case PlacementReason::ContainerNotFound:
      return "container not found";
    case PlacementReason::FoundByCounting:
      return "paragraph found by counting";
    case PlacementReason::InsideParagraphNumber:
      return "starts inside the paragraph number";
    case PlacementReason::BeyondParagraphText:
      return "offset beyond the paragraph text";
    case PlacementReason::TextChanged:
      return "text changed since the PDF was made";
    case PlacementReason::InsideBlock:
      return "inside a block";
    case PlacementReason::BeyondParagraphEnd:
      return "end beyond the paragraph end";
    case PlacementReason::NotInParagraph:
      return "location not in a paragraph";
    case PlacementReason::TableMismatch:
      return "ends in different table rows or tables";
    case PlacementReason::SelectionMoved:
      return "the host moved the selection";
    case PlacementReason::EndsInDifferentFlows:
      return "ends refused by the host";
    case PlacementReason::PieceRefused:
      return "a piece of the range refused by the host";
    case PlacementReason::SameSpot:
      return "meets another comment";
    case PlacementReason::InsideDeletedText:
      return "insertion point inside deleted text";
    case PlacementReason::NoTrackedChangeCondition:
      return "no tracked-change condition";
    case PlacementReason::MarkerRefused:
      return "the host refused the marker";
    case PlacementReason::ConditionRefused:
      return "the condition could not be made, found or set";
    case PlacementReason::TextRefused:
      return "the host refused the inserted text";
    case PlacementReason::PageUnreadable:
      return "page could not be read";
    case PlacementReason::PlaceInDeletedText:
      return "marker moved out of deleted text";
    case PlacementReason::OutOfMemory:
      return "memory ran out";
    case PlacementReason::CoversAnchor:
      return "struck range covers an anchor, a marker or an element boundary";
    case PlacementReason::TwoPlaces:
      return "two places";
  }
  return "";
}

const PlacementKindRow& KindRow(PlacementKind kind) {
  const auto index = static_cast<size_t>(kind);
  return index < std::size(kKinds) ? kKinds[index] : kKinds[0];
}

PlacementKind KindRead(pdf::CommentKind read) {
  for (const PlacementKindRow& row : kKinds) {
    if (row.read == read) return row.kind;
  }
  return PlacementKind::Other;
}

const char* PlacementKindName(PlacementKind kind) {
  return KindRow(kind).name;
}

bool CountsAsMisplaced(const Placement& placement) {
  if (!placement.misplaced) return false;
  return !KindRow(placement.kind).placedWherePointed ||
         placement.documentDiffers != PlacementReason::None ||
         placement.reason == PlacementReason::TwoPlaces;
}

bool NeedsMarker(const Placement& placement) {
  if (KindRow(placement.kind).markerRule.always || placement.misplaced) return true;
  const pdf::PdfComment* comment = placement.comment;
  return comment && (!comment->replies().empty() || !comment->contents().empty());
}

}  // namespace osprevan::apply
