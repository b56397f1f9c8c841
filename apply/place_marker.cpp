#include "apply/place_marker.h"

#include <algorithm>
#include <string>

#include "apply/change_stamp.h"
#include "apply/marker_text.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

constexpr const char* kMarkerType = "Comment";
constexpr const char* kAddedCondition = "TL8_TRACK_CHANGES_ADDED";
constexpr const char* kDeletedCondition = "TL8_TRACK_CHANGES_DELETED";

// Where the host put the marker's anchor. A location after the paragraph end is moved before
// it, so the given location would name the paragraph end instead of the anchor.
TTextLoc AnchorLocation(ObjectId doc, ObjectId marker, const TTextLoc& requested) {
  const HostValue where = HostGetPropVal(doc, marker, tolvane::P_MARKER_LOCATION);
  if (!hostlink::LastCallStatus("reading the marker's place").ok() ||
      where.type != tolvane::VT_TEXT_LOC || !where.loc.object)
    return requested;
  return where.loc;
}

// Whether the character before `after` carries the deleted condition.
bool CharacterIsDeleted(ObjectId doc, const TTextLoc& after) {
  const HostValue conditions = HostGetTextPropVal(doc, after, tolvane::P_TEXT_CONDITIONS);
  for (ObjectId condition : conditions.ids) {
    if (HostGetString(doc, condition, tolvane::P_COND_NAME) == kDeletedCondition) return true;
  }
  return false;
}

}  // namespace

bool LocationIsDeleted(const Placement& placement, TTextLoc location) {
  const ObjectId doc = placement.document;
  if (!doc) return false;
  // The host's own switch for protecting deleted text; a host that cannot answer is taken to
  // protect it.
  const int32_t protect = HostGetInt(0, 0, tolvane::P_SESSION_TRACK_DELETED_TEST);
  if (protect == 0 && hostlink::LastCallStatus("reading the protection switch").ok()) return false;
  HostSetTextRange(doc, doc, tolvane::P_DOC_TEXT_SELECTION, TTextRange{location, location});
  // A refused selection leaves the old one, which says nothing about this location.
  if (!hostlink::LastCallStatus("selecting the location").ok()) return false;
  if (!HostGetId(doc, doc, tolvane::P_DOC_SELECTED_TEXT_OBJECT)) return false;
  const TTextRange selection = HostGetTextRange(doc, doc, tolvane::P_DOC_TEXT_SELECTION);
  // The host reports the character before a location. The edge of a struck stretch is no place
  // inside it: only a location with struck characters on both sides is. A location after the
  // paragraph end is taken before it, so a struck paragraph end holds it.
  if (selection.begin.offset == 0 || !CharacterIsDeleted(doc, selection.begin)) return false;
  const int32_t length = HostGetInt(doc, selection.begin.object, tolvane::P_PGF_TEXT_LENGTH);
  if (!hostlink::LastCallStatus("reading the paragraph's length").ok() ||
      selection.begin.offset >= length)
    return true;
  return CharacterIsDeleted(doc, {selection.begin.object, selection.begin.offset + 1});
}

bool PlaceOutsideDeletedText(const Placement& placement, TTextLoc location, TTextLoc& place) {
  place = location;
  if (!LocationIsDeleted(placement, location)) return true;
  const int32_t length =
      HostGetInt(placement.document, location.object, tolvane::P_PGF_TEXT_LENGTH);
  if (!hostlink::LastCallStatus("reading the paragraph's length").ok()) return false;
  // The first place after the deleted stretch is its end, which is outside it.
  for (place.offset = location.offset + 1; place.offset <= length; ++place.offset) {
    if (!LocationIsDeleted(placement, place)) return true;
  }
  for (place.offset = std::min(location.offset, length) - 1; place.offset >= 0; --place.offset) {
    if (!LocationIsDeleted(placement, place)) return true;
  }
  place = location;
  return false;
}

support::Status PlaceMarker(const Placement& placement, TTextLoc location) {
  const ObjectId doc = placement.document;
  if (!doc) return support::Status::Failed("no document");
  if (LocationIsDeleted(placement, location))
    return support::Status::Failed("the place is deleted text");
  // Composed before the marker is made, so that nothing fails between making it and filling
  // it in.
  const std::string text = ComposeMarkerText(placement);
  const ObjectId marker = HostNewAnchoredObject(doc, tolvane::OBJ_MARKER, location);
  if (!marker) return support::Status::Failed("the host refused the marker");
  // A document without the marker type gets 0 as the type, which the host keeps or refuses.
  HostSetId(doc, marker, tolvane::P_MARKER_TYPE,
            HostGetNamedObject(doc, tolvane::OBJ_MARKER_TYPE, kMarkerType));
  HostSetString(doc, marker, tolvane::P_MARKER_TEXT, text);
  const ObjectId added = HostGetNamedObject(doc, tolvane::OBJ_CONDITION, kAddedCondition);
  if (!added) return support::Status::Failed("no tracked-insertion condition");
  const TTextLoc anchor = AnchorLocation(doc, marker, location);
  // The marker is a tracked insertion by the comment's author, at the comment's time, so
  // that the review of tracked changes lists it with the rest of the reviewer's changes.
  const ChangeStamp stamp = StampOf(placement.comment);
  HostPropList props(3);
  props[0].property = tolvane::P_TEXT_CONDITIONS;
  props[0].type = tolvane::VT_IDS;
  props[0].ids = {added};
  props[1].property = tolvane::P_TEXT_CHANGE_AUTHOR;
  props[1].type = tolvane::VT_STRING;
  props[1].sval = stamp.author;
  props[2].property = tolvane::P_TEXT_CHANGE_TIME;
  props[2].type = tolvane::VT_INT;
  props[2].ival = stamp.time;
  HostSetTextProps(doc, TTextRange{anchor, TTextLoc{anchor.object, anchor.offset + 1}}, props);
  return support::Status::Done();
}

}  // namespace osprevan::apply
