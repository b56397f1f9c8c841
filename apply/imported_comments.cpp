#include "apply/imported_comments.h"

#include <algorithm>
#include <set>
#include <vector>

#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;

// A marker's text: the identity, a blank, and the number of replies.
std::string MarkerText(const std::string& identity, size_t replies) {
  return identity + " " + std::to_string(replies);
}

void TakeMarker(ObjectId document, ObjectId marker, ImportedComments& out) {
  if (HostGetString(document, marker, tolvane::P_MARKER_TYPE_NAME) != kImportedMarkerType) return;
  const std::string text = HostGetString(document, marker, tolvane::P_MARKER_TEXT);
  const size_t blank = text.rfind(' ');
  if (blank == std::string::npos || blank == 0) return;
  size_t replies = 0;
  for (size_t i = blank + 1; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return;
    replies = replies * 10 + static_cast<size_t>(text[i] - '0');
  }
  size_t& kept = out[text.substr(0, blank)];
  kept = std::max(kept, replies);
}

void AddCells(ObjectId document, ObjectId table, std::vector<ObjectId>& lists) {
  for (ObjectId row = HostGetId(document, table, tolvane::P_TABLE_FIRST_ROW); row;
       row = HostGetId(document, row, tolvane::P_ROW_NEXT)) {
    for (ObjectId cell = HostGetId(document, row, tolvane::P_ROW_FIRST_CELL); cell;
         cell = HostGetId(document, cell, tolvane::P_CELL_NEXT)) {
      lists.push_back(cell);
    }
  }
}

}  // namespace

ImportedComments ReadImportedComments(ObjectId document) {
  ImportedComments out;
  constexpr uint32_t kItems =
      tolvane::TI_MARKER_ANCHOR | tolvane::TI_TABLE_ANCHOR | tolvane::TI_FOOTNOTE_ANCHOR;
  std::vector<ObjectId> lists;
  for (ObjectId flow = HostGetId(document, document, tolvane::P_DOC_FIRST_FLOW); flow;
       flow = HostGetId(document, flow, tolvane::P_FLOW_NEXT)) {
    lists.push_back(flow);
  }
  // Each list is read once, however the host's links run.
  std::set<ObjectId> read;
  while (!lists.empty()) {
    const ObjectId list = lists.back();
    lists.pop_back();
    if (!read.insert(list).second) continue;
    for (const hostlink::HostTextItem& item : HostGetText(document, list, kItems)) {
      if (item.kind == tolvane::TI_MARKER_ANCHOR) {
        TakeMarker(document, item.id, out);
      } else if (item.kind == tolvane::TI_FOOTNOTE_ANCHOR) {
        lists.push_back(item.id);
      } else if (item.kind == tolvane::TI_TABLE_ANCHOR) {
        lists.push_back(item.id);  // its title
        AddCells(document, item.id, lists);
      }
    }
  }
  return out;
}

size_t ThreadSize(const pdf::PdfComment& comment) {
  // Walked with a list of its own: reply chains come from the PDF and may be very deep.
  size_t count = 0;
  std::vector<const pdf::PdfComment*> pending{&comment};
  while (!pending.empty()) {
    const pdf::PdfComment* next = pending.back();
    pending.pop_back();
    for (const auto& reply : next->replies()) {
      if (!reply) continue;
      ++count;
      pending.push_back(reply.get());
    }
    if (next->replacement()) pending.push_back(next->replacement());
  }
  return count;
}

support::Status NoteImported(const Placement& placement) {
  const ObjectId document = placement.document;
  const ObjectId paragraph = placement.end.object;
  if (!placement.comment || placement.comment->identity().empty() || !paragraph)
    return support::Status::Failed("the comment has no identity or no place");
  ObjectId type = HostGetNamedObject(document, tolvane::OBJ_MARKER_TYPE, kImportedMarkerType);
  if (!type) type = HostNewNamedObject(document, tolvane::OBJ_MARKER_TYPE, kImportedMarkerType);
  if (!type) return support::Status::Failed("the host refused the marker type");
  // At the end of the paragraph's text, where it moves no offset a placement of this import
  // was given; before the ends of elements that close there, so that in a structured flow it
  // stays inside the paragraph's element.
  int32_t at = HostGetInt(document, paragraph, tolvane::P_PGF_TEXT_LENGTH) - 1;
  const HostTextItems ends = HostGetText(document, paragraph, tolvane::TI_ELEMENT_END);
  for (auto item = ends.rbegin(); item != ends.rend() && item->offset == at - 1; ++item) --at;
  const ObjectId marker =
      HostNewAnchoredObject(document, tolvane::OBJ_MARKER, {paragraph, at < 0 ? 0 : at});
  if (!marker) return support::Status::Failed("the host refused the marker");
  HostSetId(document, marker, tolvane::P_MARKER_TYPE, type);
  if (support::Status typed = hostlink::LastCallStatus("the marker's type"); !typed.ok())
    return typed;
  HostSetString(document, marker, tolvane::P_MARKER_TEXT,
                MarkerText(placement.comment->identity(), ThreadSize(*placement.comment)));
  if (support::Status written = hostlink::LastCallStatus("the marker's text"); !written.ok())
    return written;
  return support::Status::Done();
}

}  // namespace osprevan::apply
