#include "apply/validate_placement.h"

#include <algorithm>
#include <vector>

#include "apply/range_pieces.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;
using tolvane::TTextLoc;
using tolvane::TTextRange;

bool IsParagraph(ObjectId object) {
  return object && tolvane::KindOf(object) == tolvane::KIND_PARAGRAPH;
}

// Text positions of the paragraph, its end not included.
int32_t ParagraphLength(ObjectId document, ObjectId paragraph) {
  const int32_t length = HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) - 1;
  return length < 0 ? 0 : length;
}

bool IsValid(ObjectId document, const TTextLoc& location) {
  return IsParagraph(location.object) && location.offset >= 0 &&
         location.offset <= ParagraphLength(document, location.object);
}

bool operator==(const TTextLoc& a, const TTextLoc& b) {
  return a.object == b.object && a.offset == b.offset;
}

// The start of the placement's flow, else of the main flow, else of the first flow.
TTextLoc FlowStart(ObjectId document, ObjectId flow) {
  if (!flow) flow = HostGetId(document, document, tolvane::P_DOC_MAIN_FLOW);
  if (!flow) flow = HostGetId(document, document, tolvane::P_DOC_FIRST_FLOW);
  return {HostGetId(document, flow, tolvane::P_FLOW_FIRST_PARAGRAPH), 0};
}

// The table of a location in a cell of a body row; 0 anywhere else.
ObjectId BodyRowTable(ObjectId document, const TTextLoc& location) {
  const ObjectId cell = HostGetId(document, location.object, tolvane::P_PGF_CELL);
  if (!cell) return 0;
  const ObjectId row = HostGetId(document, cell, tolvane::P_CELL_ROW);
  if (HostGetInt(document, row, tolvane::P_ROW_KIND) != tolvane::ROW_BODY) return 0;
  return HostGetId(document, row, tolvane::P_ROW_TABLE);
}

// What takes no room where the PDF shows the text. A footnote anchor is not among them: its
// number stands on the line, and a caret before the number means before the anchor.
constexpr uint32_t kRoomless = tolvane::TI_MARKER_ANCHOR | tolvane::TI_TABLE_ANCHOR |
                               tolvane::TI_FRAME_ANCHOR | tolvane::TI_ELEMENT_BEGIN |
                               tolvane::TI_ELEMENT_END;

// What a struck range must not take in unless the reviewer drew over it, since striking it
// strikes a whole table, footnote, frame, a marker or an element's edge.
constexpr uint32_t kNeverStruckAlong = kRoomless | tolvane::TI_FOOTNOTE_ANCHOR;

// The location moved over the items of `kinds` that stand at it.
TTextLoc AfterItemsAt(ObjectId document, TTextLoc location, uint32_t kinds) {
  const HostTextItems items = HostGetText(document, location.object, kinds);
  for (const auto& item : items) {
    if (item.offset == location.offset) ++location.offset;
  }
  return location;
}

// New text goes after the anchors, markers and element beginnings that stand at the location,
// but not after an element's end: text at the end of an element belongs in it.
TTextLoc InsertionPoint(ObjectId document, TTextLoc location) {
  for (const auto& item : HostGetText(document, location.object, kRoomless)) {
    if (item.offset != location.offset) continue;
    if (item.kind == tolvane::TI_ELEMENT_END) break;
    ++location.offset;
  }
  return location;
}

// Whether the range takes in an item that must not be struck along with the reviewer's text.
bool CoversItemsNotDrawn(ObjectId document, const TTextRange& range) {
  ObjectId paragraph = range.begin.object;
  for (const auto& item :
       HostGetTextInRange(document, range, kNeverStruckAlong | tolvane::TI_TEXT_OBJECT)) {
    if (item.kind == tolvane::TI_TEXT_OBJECT) {
      paragraph = item.id;
      continue;
    }
    const bool afterBegin = paragraph != range.begin.object || item.offset >= range.begin.offset;
    const bool beforeEnd = paragraph != range.end.object || item.offset < range.end.offset;
    if (afterBegin && beforeEnd) return true;
  }
  return false;
}

// Whether the host takes a..b as locations of one range. A comparison the host does not make
// answers nothing about them, and counts as a refusal.
bool TakenAsOneRange(ObjectId document, const TTextLoc& a, const TTextLoc& b) {
  const int32_t refused = HostTestTextLocs(document, a, b);
  return refused == 0 && hostlink::LastCallStatus("comparing the ends").ok();
}

// Makes the range the document's selection and takes what the host made of it.
void CheckSelection(ObjectId document, Placement& placement) {
  HostSetTextRange(document, document, tolvane::P_DOC_TEXT_SELECTION,
                   {placement.begin, placement.end});
  const bool refused = !hostlink::LastCallStatus("selecting the range").ok();
  const tolvane::TTextRange selected =
      HostGetTextRange(document, document, tolvane::P_DOC_TEXT_SELECTION);
  // A refused or unread selection is an earlier one, which says nothing about these locations:
  // the placement is flagged at its own end, not moved to where that selection stood.
  if (refused || !hostlink::LastCallStatus("reading the selection").ok()) {
    placement.begin = placement.end;
    placement.Misplace(PlacementReason::SelectionMoved);
    return;
  }
  if (selected.begin == placement.begin && selected.end == placement.end) return;
  const bool point = selected.begin == selected.end;
  if (point) {
    ClearLastHostError();
    const ObjectId element = HostObjectAtTextLoc(document, selected.end).first;
    const bool outsideStructure = HostGetId(document, element, tolvane::P_ELEM_PARENT) == 0 &&
                                  hostlink::LastCallStatus("reading the element's parent").ok();
    if (outsideStructure) {
      placement.begin = selected.end;
      const bool atPoint = KindRow(placement.kind).effect.atPoint;
      if (atPoint) placement.end = selected.end;
      // A range the host took for no text at all would change nothing where it was drawn.
      if (placement.begin == placement.end && !atPoint)
        placement.Misplace(PlacementReason::SelectionMoved);
      return;
    }
  }
  placement.begin = placement.end = selected.end;
  placement.Misplace(PlacementReason::SelectionMoved);
}

// The text between the ends, piece by piece as changes are made to it: each piece must be one
// the host takes as a range. A range that cannot be cut into pieces is refused too.
void CheckPieces(ObjectId document, Placement& p) {
  if (p.begin == p.end) return;
  const std::vector<tolvane::TTextRange> pieces = SplitIntoPieces(document, {p.begin, p.end});
  if (pieces.empty()) {
    p.Misplace(PlacementReason::PieceRefused);
    return;
  }
  for (const tolvane::TTextRange& piece : pieces) {
    if (piece.begin == piece.end || TakenAsOneRange(document, piece.begin, piece.end)) continue;
    p.Misplace(PlacementReason::PieceRefused);
    p.end = piece.begin;
    return;
  }
}

}  // namespace

void ValidatePlacement(Placement& p) {
  const ObjectId document = p.document;
  if (!IsValid(document, p.begin)) {
    p.Misplace(PlacementReason::NotInParagraph);
    p.begin = p.end;
  }
  if (IsParagraph(p.end.object) && p.end.offset > ParagraphLength(document, p.end.object)) {
    const bool beginFollows = p.begin == p.end;
    p.end.offset = ParagraphLength(document, p.end.object);
    if (beginFollows) p.begin = p.end;
    p.Misplace(PlacementReason::BeyondParagraphEnd);
  }
  if (!IsParagraph(p.end.object)) {
    p.begin = p.end = FlowStart(document, p.flow);
    p.Misplace(PlacementReason::NotInParagraph);
    return;
  }
  const ObjectId beginTable = BodyRowTable(document, p.begin);
  const ObjectId endTable = BodyRowTable(document, p.end);
  if (beginTable != endTable) p.Misplace(PlacementReason::TableMismatch);
  const TextEffect& effect = KindRow(p.kind).effect;
  if (effect.atPoint) p.begin = p.end = InsertionPoint(document, p.end);
  if (effect.strikes && !(p.begin == p.end)) {
    // What stands before the first struck character was not drawn over.
    if (p.begin.object != p.end.object)
      p.begin = AfterItemsAt(document, p.begin, kRoomless);
    else
      p.begin.offset = std::min(AfterItemsAt(document, p.begin, kRoomless).offset, p.end.offset);
    if (CoversItemsNotDrawn(document, {p.begin, p.end})) p.Misplace(PlacementReason::CoversAnchor);
  }
  CheckSelection(document, p);
  if (p.begin.object != p.end.object && !TakenAsOneRange(document, p.end, p.begin))
    p.Misplace(PlacementReason::EndsInDifferentFlows);
  if (p.misplaced) {
    p.begin = p.end;
    return;
  }
  CheckPieces(document, p);
  if (p.misplaced) p.begin = p.end;
  // What replaces the struck text goes in after what stands at the range's end.
  if (effect.strikes && effect.inserts && !p.misplaced)
    p.insertAt = InsertionPoint(document, p.end);
}

}  // namespace osprevan::apply
