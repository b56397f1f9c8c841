#include "apply/tracked_changes.h"

#include <algorithm>
#include <string>

#include "apply/apply_condition.h"
#include "apply/place_marker.h"
#include "hostlink/held_text.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

using pdf::PdfComment;
using tolvane::ObjectId;
using tolvane::TTextLoc;
using tolvane::TTextRange;

ObjectId ConditionNamed(const Placement& placement, const char* name) {
  return HostGetNamedObject(placement.document, tolvane::OBJ_CONDITION, name);
}

bool HasReplies(const PdfComment* comment) {
  return comment && !comment->replies().empty();
}

int32_t CharacterCount(const std::string& utf8) {
  int32_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
  return count;
}

// Puts `text` in at `at`; false when the host refused it and nothing was inserted.
bool InsertText(const Placement& placement, TTextLoc at, const std::string& reviewerText,
                TTextRange& inserted) {
  // The host takes text as a C string and refuses control characters; each such character,
  // a NUL too, is shown as U+FFFD, so that neither ends the text early nor costs the comment.
  const std::string text = hostlink::HostHeldText(reviewerText);
  ClearLastHostError();
  const TTextLoc after = HostAddText(placement.document, at, text);
  if (!hostlink::LastCallStatus("adding the text").ok()) return false;
  // The host answers where the new text ends; it begins as many characters before, also when
  // the host moved a location after the paragraph end in front of it.
  inserted = {{after.object, std::max(0, after.offset - CharacterCount(text))}, after};
  return true;
}

support::Status Insert(Placement& placement) {
  const PdfComment* comment = placement.comment;
  if (LocationIsDeleted(placement, placement.end))
    return placement.Fail(PlacementReason::InsideDeletedText);
  // Looked up before the text goes in: without it the text would stay in untracked.
  const ObjectId added = ConditionNamed(placement, kAddedCondition);
  if (!added) return placement.Fail(PlacementReason::NoTrackedChangeCondition);
  TTextRange inserted;
  if (!InsertText(placement, placement.end, comment ? comment->contents() : "", inserted))
    return placement.Fail(PlacementReason::TextRefused);
  if (!ApplyCondition(placement, added, inserted).ok())
    return placement.Fail(PlacementReason::ConditionRefused);
  if (HasReplies(comment) && !PlaceMarker(placement, inserted.end).ok())
    return placement.Fail(PlacementReason::MarkerRefused);
  return support::Status::Done();
}

support::Status Delete(Placement& placement) {
  const PdfComment* comment = placement.comment;
  const ObjectId deleted = ConditionNamed(placement, kDeletedCondition);
  if (!deleted) return placement.Fail(PlacementReason::NoTrackedChangeCondition);
  const bool marker = KindRow(placement.kind).markerRule.insideChange && comment &&
                      (HasReplies(comment) || !comment->contents().empty());
  // A marker is itself a tracked insertion; without that condition the host would keep the
  // marker of a failed placement.
  if (marker && !ConditionNamed(placement, kAddedCondition))
    return placement.Fail(PlacementReason::NoTrackedChangeCondition);
  ConditionChange change;
  const TTextRange range{placement.begin, placement.end};
  if (!change.Read(placement, kDeletedCondition, range))
    return placement.Fail(PlacementReason::ConditionRefused);
  if (marker) {
    // The marker goes in first, so that a marker the host refuses leaves the text unmarked.
    if (!PlaceMarker(placement, placement.end).ok())
      return placement.Fail(PlacementReason::MarkerRefused);
    // Read again: an end past the paragraph end puts the anchor in front of it, inside the range.
    if (!change.Read(placement, kDeletedCondition, range))
      return placement.Fail(PlacementReason::ConditionRefused);
  }
  if (!change.Write(deleted)) return placement.Fail(PlacementReason::ConditionRefused);
  change.Keep();
  return support::Status::Done();
}

support::Status Replace(Placement& placement) {
  const PdfComment* comment = placement.comment;
  const PdfComment* caret = comment ? comment->replacement() : nullptr;
  if (!caret) return Delete(placement);
  const ObjectId deleted = ConditionNamed(placement, kDeletedCondition);
  const ObjectId added = ConditionNamed(placement, kAddedCondition);
  if (!deleted || !added) return placement.Fail(PlacementReason::NoTrackedChangeCondition);
  // The new text follows the struck text and what takes no room after it; the point is tested
  // before anything is marked.
  const TTextLoc at = placement.insertAt.object ? placement.insertAt : placement.end;
  if (LocationIsDeleted(placement, at)) return placement.Fail(PlacementReason::InsideDeletedText);
  ConditionChange strike;
  if (!strike.Read(placement, kDeletedCondition, {placement.begin, placement.end}) ||
      !strike.Write(deleted)) {
    return placement.Fail(PlacementReason::ConditionRefused);
  }
  TTextRange inserted;
  if (!InsertText(placement, at, caret->contents(), inserted)) {
    strike.Restore();
    return placement.Fail(PlacementReason::TextRefused);
  }
  // From here on the new text is in for good; the struck text stays marked beside it, so
  // that the document's review can reject both.
  strike.Keep();
  if (!ApplyCondition(placement, added, inserted).ok())
    return placement.Fail(PlacementReason::ConditionRefused);
  if (HasReplies(caret) && !PlaceMarker(placement, inserted.end).ok()) {
    // Without new text the marker's place is struck text; then nothing stays changed.
    if (inserted.begin.offset == inserted.end.offset) strike.Restore();
    return placement.Fail(PlacementReason::MarkerRefused);
  }
  return support::Status::Done();
}

}  // namespace

support::Status ApplyInsertion(Placement& placement) {
  return Insert(placement);
}

support::Status ApplyDeletion(Placement& placement) {
  return Delete(placement);
}

support::Status ApplyReplacement(Placement& placement) {
  return Replace(placement);
}

}  // namespace osprevan::apply
