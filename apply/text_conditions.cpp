#include "apply/text_conditions.h"

#include <set>

#include "apply/apply_condition.h"
#include "apply/place_marker.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"

namespace osprevan::apply {
namespace {

using namespace tolvane;

// The look a condition is created with.
struct Look {
  const char* name;
  int32_t reservedColour;  // the colour's reserved-colour code
  bool underline;          // coloured and underlined; otherwise a background colour
};

constexpr Look kHighlight{kHighlightCondition, 3, false};
constexpr Look kUnderline{kUnderlineCondition, 8, true};

void SetValue(ObjectId doc, ObjectId condition, int32_t property, int32_t type, int32_t value) {
  HostValue v;
  v.property = property;
  v.type = type;
  if (type == VT_ID)
    v.id = static_cast<ObjectId>(value);
  else
    v.ival = value;
  HostSetPropVal(doc, condition, v);
}

// One property at a time, in this order.
void SetLook(ObjectId doc, ObjectId condition, const Look& look) {
  const ObjectId colour = FindReservedColour(doc, look.reservedColour);
  if (look.underline) {
    SetValue(doc, condition, P_COND_COLOUR_OVERRIDE, VT_INT, 1);
    SetValue(doc, condition, P_COND_OVERRIDE_COLOUR, VT_ID, static_cast<int32_t>(colour));
    SetValue(doc, condition, P_COND_STYLE_OVERRIDE, VT_INT, STYLE_SINGLE_UNDERLINE);
  } else {
    SetValue(doc, condition, P_COND_BACKGROUND_ON, VT_INT, 1);
    SetValue(doc, condition, P_COND_BACKGROUND_COLOUR, VT_ID, static_cast<int32_t>(colour));
  }
  SetValue(doc, condition, P_COND_SHOWN, VT_INT, 1);
}

// A preview that shows the document with or without its changes is switched away and back,
// so that it takes in the new condition.
void RefreshPreview(ObjectId doc) {
  const int32_t preview = HostGetInt(doc, doc, P_DOC_TRACK_PREVIEW);
  if (preview != 1 && preview != 2) return;
  HostSetInt(doc, doc, P_DOC_TRACK_PREVIEW, 0);
  HostSetInt(doc, doc, P_DOC_TRACK_PREVIEW, preview);
}

// Creates the condition with its look, or finds the existing one, whose settings stay as
// they are. 0 when it can be neither created nor found.
ObjectId MadeOrFound(ObjectId doc, const Look& look) {
  if (const ObjectId made = HostNewNamedObject(doc, OBJ_CONDITION, look.name)) {
    SetLook(doc, made, look);
    RefreshPreview(doc);
    return made;
  }
  if (!hostlink::LastCallFoundNameInUse()) return 0;
  return HostGetNamedObject(doc, OBJ_CONDITION, look.name);
}

support::Status Mark(Placement& placement, const Look& look) {
  const ObjectId doc = placement.document;
  const pdf::PdfComment* comment = placement.comment;
  const bool marker = comment && (!comment->replies().empty() || !comment->contents().empty());
  // What would refuse the marker is tested before anything changes: a marker is a tracked
  // insertion, and none is made in deleted text.
  if (marker && !HostGetNamedObject(doc, OBJ_CONDITION, kAddedCondition))
    return placement.Fail(PlacementReason::NoTrackedChangeCondition);
  if (marker && LocationIsDeleted(placement, placement.end))
    return placement.Fail(PlacementReason::MarkerRefused);
  ConditionChange change;
  if (!change.Read(placement, look.name, {placement.begin, placement.end}))
    return placement.Fail(PlacementReason::ConditionRefused);
  const ObjectId condition = MadeOrFound(doc, look);
  if (!condition || !change.Write(condition))
    return placement.Fail(PlacementReason::ConditionRefused);
  if (marker && !PlaceMarker(placement, placement.end).ok()) {
    change.Restore();
    return placement.Fail(PlacementReason::MarkerRefused);
  }
  change.Keep();
  return support::Status::Done();
}

}  // namespace

support::Status ApplyHighlight(Placement& placement) {
  return Mark(placement, kHighlight);
}

support::Status ApplyUnderline(Placement& placement) {
  return Mark(placement, kUnderline);
}

ObjectId FindReservedColour(ObjectId document, int32_t code) {
  std::set<ObjectId> seen;  // a colour list that loops ends where it comes back
  for (ObjectId colour = HostGetId(document, document, P_DOC_FIRST_COLOUR);
       colour && seen.insert(colour).second; colour = HostGetId(document, colour, P_COLOUR_NEXT)) {
    if (HostGetInt(document, colour, P_COLOUR_RESERVED) == code) return colour;
  }
  return 0;
}

}  // namespace osprevan::apply
