#include "apply/range_pieces.h"

#include <algorithm>
#include <set>

#include "hostlink/host_ops.h"

namespace osprevan::apply {
namespace {

using namespace tolvane;

// Containers nest no deeper than this; a longer chain is taken for anchoring that loops.
constexpr size_t kMaxDepth = 64;

// One step outward from a location: the list it lies in and the container that holds the list.
struct Level {
  ObjectId list = 0;       // a flow, cell or footnote, or the table for its title
  ObjectId container = 0;  // a table, footnote or anchored frame; 0 for a flow of its own
  TTextLoc at{};
};

ObjectId ListOf(ObjectId doc, ObjectId paragraph) {
  for (int32_t prop : {P_PGF_FLOW, P_PGF_CELL, P_PGF_FOOTNOTE, P_PGF_TABLE_TITLE}) {
    if (const ObjectId list = HostGetId(doc, paragraph, prop)) return list;
  }
  return 0;
}

ObjectId ContainerOf(ObjectId doc, ObjectId list) {
  switch (KindOf(list)) {
    case KIND_TABLE_CELL:
      return HostGetId(doc, HostGetId(doc, list, P_CELL_ROW), P_ROW_TABLE);
    case KIND_TABLE:
    case KIND_FOOTNOTE:
      return list;
    case KIND_FLOW: {
      const ObjectId frame = HostGetId(doc, list, P_FLOW_FIRST_TEXT_FRAME);
      const ObjectId parent = frame ? HostGetId(doc, frame, P_FRAME_PARENT) : 0;
      return KindOf(parent) == KIND_ANCHORED_FRAME ? parent : 0;
    }
    default:
      return 0;
  }
}

// Where the container's anchor stands; object 0 when the host cannot say.
TTextLoc AnchorOf(ObjectId doc, ObjectId container) {
  int32_t prop = 0;
  uint32_t kind = 0;
  switch (KindOf(container)) {
    case KIND_TABLE:
      prop = P_TABLE_ANCHOR_PGF, kind = TI_TABLE_ANCHOR;
      break;
    case KIND_FOOTNOTE:
      prop = P_FN_ANCHOR_PGF, kind = TI_FOOTNOTE_ANCHOR;
      break;
    case KIND_ANCHORED_FRAME:
      prop = P_AFRAME_ANCHOR_PGF, kind = TI_FRAME_ANCHOR;
      break;
    default:
      return {};
  }
  const ObjectId paragraph = HostGetId(doc, container, prop);
  if (!paragraph) return {};
  for (const auto& item : HostGetText(doc, paragraph, kind)) {
    if (item.id == container) return {paragraph, item.offset};
  }
  return {};
}

// The lists around a location, innermost first. A list met again ends the chain, so that
// anchoring that loops cannot hang the walk.
std::vector<Level> ChainOf(ObjectId doc, TTextLoc at) {
  std::vector<Level> chain;
  std::set<ObjectId> seen;
  while (at.object && chain.size() < kMaxDepth) {
    const ObjectId list = ListOf(doc, at.object);
    if (!list || !seen.insert(list).second) break;
    const ObjectId container = ContainerOf(doc, list);
    chain.push_back({list, container, at});
    if (!container) break;
    at = AnchorOf(doc, container);
  }
  return chain;
}

ObjectId FirstParagraphOf(ObjectId doc, ObjectId list) {
  switch (KindOf(list)) {
    case KIND_FLOW:
      return HostGetId(doc, list, P_FLOW_FIRST_PARAGRAPH);
    case KIND_TABLE_CELL:
      return HostGetId(doc, list, P_CELL_FIRST_PGF);
    case KIND_FOOTNOTE:
      return HostGetId(doc, list, P_FN_FIRST_PGF);
    case KIND_TABLE:
      return HostGetId(doc, list, P_TABLE_FIRST_TITLE_PGF);
    default:
      return 0;
  }
}

// The lists of a table in reading order: the title (named by the table), then every cell.
std::vector<ObjectId> TableLists(ObjectId doc, ObjectId table) {
  std::vector<ObjectId> lists{table};
  std::set<ObjectId> seen;  // rows or cells that loop end the walk
  for (ObjectId row = HostGetId(doc, table, P_TABLE_FIRST_ROW); row && seen.insert(row).second;
       row = HostGetId(doc, row, P_ROW_NEXT)) {
    for (ObjectId cell = HostGetId(doc, row, P_ROW_FIRST_CELL); cell && seen.insert(cell).second;
         cell = HostGetId(doc, cell, P_CELL_NEXT)) {
      lists.push_back(cell);
    }
  }
  return lists;
}

// The whole lists of a table strictly between `first` and `last` in reading order; from the
// table's start when `first` is 0, to its end when `last` is 0.
void AddListsBetween(ObjectId doc, ObjectId table, ObjectId first, ObjectId last,
                     std::vector<TTextRange>& pieces) {
  const std::vector<ObjectId> lists = TableLists(doc, table);
  auto from = lists.begin();
  if (first) {
    from = std::find(lists.begin(), lists.end(), first);
    if (from == lists.end()) return;
    ++from;
  }
  const auto to = last ? std::find(from, lists.end(), last) : lists.end();
  for (auto it = from; it < to; ++it) {
    const TTextRange whole = WholeList(doc, FirstParagraphOf(doc, *it));
    if (whole.begin.object) pieces.push_back(whole);
  }
}

bool IsTable(ObjectId container) {
  return KindOf(container) == KIND_TABLE;
}

// Where the range goes on at level k of its beginning's chain: the beginning itself, or past
// the anchor of the container it comes out of, which it covers only in part.
TTextLoc ResumeAt(const std::vector<Level>& from, size_t k) {
  TTextLoc at = from[k].at;
  if (k > 0) ++at.offset;
  return at;
}

// The pieces of a range whose ends meet in the list at from[i] and to[j]: outward from the
// beginning, the text between in the shared list, inward to the end. Inside a table the range
// also takes the whole lists between the one it leaves or enters and the table's end or start.
std::vector<TTextRange> Join(ObjectId doc, const std::vector<Level>& from, size_t i,
                             const std::vector<Level>& to, size_t j) {
  std::vector<TTextRange> pieces;
  // Both ends in one table: the lists between them, and not the rest of the table.
  const bool oneTable = i > 0 && j > 0 && from[i - 1].container == to[j - 1].container &&
                        IsTable(from[i - 1].container);
  for (size_t k = 0; k < i; ++k) {
    pieces.push_back({ResumeAt(from, k), WholeList(doc, FirstParagraphOf(doc, from[k].list)).end});
    if (!IsTable(from[k].container)) continue;
    const ObjectId last = oneTable && k + 1 == i ? to[j - 1].list : 0;
    AddListsBetween(doc, from[k].container, from[k].list, last, pieces);
  }
  const TTextLoc begin = ResumeAt(from, i);
  const TTextLoc end = to[j].at;  // the anchor of a container the range ends in stays out
  // Two lists of one container share its anchor: nothing lies between them there.
  if (begin.object != end.object || begin.offset <= end.offset) pieces.push_back({begin, end});
  for (size_t k = j; k-- > 0;) {
    if (IsTable(to[k].container) && !(oneTable && k + 1 == j))
      AddListsBetween(doc, to[k].container, 0, to[k].list, pieces);
    pieces.push_back({{FirstParagraphOf(doc, to[k].list), 0}, to[k].at});
  }
  return pieces;
}

}  // namespace

std::vector<TTextRange> SplitIntoPieces(ObjectId doc, const TTextRange& range) {
  if (KindOf(range.begin.object) != KIND_PARAGRAPH || KindOf(range.end.object) != KIND_PARAGRAPH)
    return {};
  const std::vector<Level> from = ChainOf(doc, range.begin);
  const std::vector<Level> to = ChainOf(doc, range.end);
  if (from.empty() || to.empty()) return {};
  if (from[0].list == to[0].list) return {range};
  for (size_t i = 0; i < from.size(); ++i) {
    for (size_t j = 0; j < to.size(); ++j) {
      if (from[i].list == to[j].list) return Join(doc, from, i, to, j);
    }
  }
  return {};
}

TTextRange WholeList(ObjectId doc, ObjectId firstParagraph) {
  if (!firstParagraph) return {};
  ObjectId last = firstParagraph;
  std::set<ObjectId> seen{firstParagraph};  // a chain that loops ends where it comes back
  for (ObjectId next = HostGetId(doc, last, P_PGF_NEXT); next && seen.insert(next).second;
       next = HostGetId(doc, next, P_PGF_NEXT)) {
    last = next;
  }
  return {{firstParagraph, 0}, {last, HostGetInt(doc, last, P_PGF_TEXT_LENGTH)}};
}

std::vector<TTextRange> TableContents(ObjectId doc, ObjectId table) {
  std::vector<TTextRange> pieces;
  AddListsBetween(doc, table, 0, 0, pieces);
  return pieces;
}

}  // namespace osprevan::apply
