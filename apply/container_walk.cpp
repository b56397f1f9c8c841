#include "apply/container_walk.h"

#include <string>
#include <vector>

#include "hostlink/host_ops.h"
#include "pdf/element_kind.h"
#include "support/unicode_text.h"

namespace osprevan::apply {
namespace {

using pdf::ElementEntry;
using pdf::ElementKind;
using tolvane::ObjectId;

// Walks over host lists stop here at the latest, so that a list that loops cannot hang.
constexpr int kMaxSteps = 1 << 20;

// The flow a section names: "Article_" or "Section_" and the flow's name.
ObjectId FlowOfSection(ObjectId document, const std::string& name) {
  for (const char* prefix : {"Article_", "Section_"}) {
    const std::string p = prefix;
    if (name.size() >= p.size() && support::EqualIgnoringCase(name.substr(0, p.size()), p))
      return BodyFlowNamed(document, name.substr(p.size()));
  }
  return 0;
}

// A table or footnote follows the paragraph that anchors it (noted when the PDF was read): among
// that paragraph's anchors of the kind, the one after as many of its kind as stand between them.
ObjectId AnchoredAfterParagraph(ObjectId document, const ElementEntry& entry, uint32_t anchorKind) {
  if (!entry.anchorParagraph) return 0;
  int32_t seen = 0;
  for (const auto& item : HostGetText(document, entry.anchorParagraph, anchorKind)) {
    if (seen++ == entry.anchorsBetween) return item.id;
  }
  return 0;
}

int32_t RowKindOf(ElementKind kind) {
  switch (kind) {
    case ElementKind::TableHeading:
      return tolvane::ROW_HEADING;
    case ElementKind::TableFooting:
      return tolvane::ROW_FOOTING;
    default:
      return tolvane::ROW_BODY;
  }
}

ObjectId NthRow(ObjectId document, ObjectId table, int32_t rowKind, int32_t position) {
  int32_t seen = 0;
  int steps = 0;
  for (ObjectId row = HostGetId(document, table, tolvane::P_TABLE_FIRST_ROW);
       row && ++steps < kMaxSteps; row = HostGetId(document, row, tolvane::P_ROW_NEXT)) {
    if (HostGetInt(document, row, tolvane::P_ROW_KIND) != rowKind) continue;
    if (seen++ == position) return row;
  }
  return 0;
}

// Straddled cells are not written into the PDF, so they are not counted.
ObjectId NthCell(ObjectId document, ObjectId row, int32_t position) {
  int32_t seen = 0;
  int steps = 0;
  for (ObjectId cell = HostGetId(document, row, tolvane::P_ROW_FIRST_CELL);
       cell && ++steps < kMaxSteps; cell = HostGetId(document, cell, tolvane::P_CELL_NEXT)) {
    if (HostGetInt(document, cell, tolvane::P_CELL_STRADDLED) != 0) continue;
    if (seen++ == position) return cell;
  }
  return 0;
}

// Enters one entry; false when it cannot be resolved from the container reached so far.
bool Enter(ObjectId document, const ElementEntry& entry, HostContainer& c) {
  switch (entry.kind) {
    case ElementKind::BookPart:
      return true;
    case ElementKind::Section:
      c = HostContainer{};
      c.flow = FlowOfSection(document, entry.name);
      return c.flow != 0;
    case ElementKind::Footnote:
      c.footnote = AnchoredAfterParagraph(document, entry, tolvane::TI_FOOTNOTE_ANCHOR);
      return c.footnote != 0;
    case ElementKind::Table:
      c.table = AnchoredAfterParagraph(document, entry, tolvane::TI_TABLE_ANCHOR);
      return c.table != 0;
    case ElementKind::TableTitle:
      c.tableTitle = c.table != 0;
      return c.tableTitle;
    case ElementKind::TableHeading:
    case ElementKind::TableBody:
    case ElementKind::TableFooting:
      c.rowKind = RowKindOf(entry.kind);
      return c.table != 0;
    case ElementKind::TableRow:
      c.row = c.table ? NthRow(document, c.table, c.rowKind ? c.rowKind : tolvane::ROW_BODY,
                               entry.placeAmongKind)
                      : 0;
      return c.row != 0;
    case ElementKind::TableCell:
      c.cell = c.row ? NthCell(document, c.row, entry.placeAmongKind) : 0;
      return c.cell != 0;
    default:
      return true;
  }
}

}  // namespace

ObjectId BodyFlowNamed(ObjectId document, const std::string& name) {
  int steps = 0;
  for (ObjectId flow = HostGetId(document, document, tolvane::P_DOC_FIRST_FLOW);
       flow && ++steps < kMaxSteps; flow = HostGetId(document, flow, tolvane::P_FLOW_NEXT)) {
    if (HostGetString(document, flow, tolvane::P_FLOW_NAME) != name) continue;
    const ObjectId frame = HostGetId(document, flow, tolvane::P_FLOW_FIRST_TEXT_FRAME);
    const ObjectId page = frame ? HostGetId(document, frame, tolvane::P_FRAME_PAGE) : 0;
    if (page && tolvane::KindOf(page) == tolvane::KIND_BODY_PAGE) return flow;
  }
  return 0;
}

ObjectId HostContainer::FirstParagraph(ObjectId document) const {
  if (cell) return HostGetId(document, cell, tolvane::P_CELL_FIRST_PGF);
  if (tableTitle) return HostGetId(document, table, tolvane::P_TABLE_FIRST_TITLE_PGF);
  if (footnote) return HostGetId(document, footnote, tolvane::P_FN_FIRST_PGF);
  if (table) return 0;  // a table's text lies in its title and cells only
  return flow ? HostGetId(document, flow, tolvane::P_FLOW_FIRST_PARAGRAPH) : 0;
}

bool WalkContainers(ObjectId document, const pdf::ContentElement& element, HostContainer& out) {
  out = HostContainer{};
  out.flow = HostGetId(document, document, tolvane::P_DOC_MAIN_FLOW);
  std::vector<const ElementEntry*> chain;
  for (const ElementEntry* e = element.containers; e && chain.size() < 256; e = e->outer)
    chain.push_back(e);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    if (!Enter(document, **it, out)) return false;
  }
  return true;
}

}  // namespace osprevan::apply
