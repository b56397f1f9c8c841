#include "apply/text_conditions.h"

#include <new>
#include <set>

#include "apply/apply_condition.h"
#include "apply/place_marker.h"
#include "hostlink/host_ops.h"

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
  if (LastHostError() != ERR_NAME_IN_USE) return 0;
  return HostGetNamedObject(doc, OBJ_CONDITION, look.name);
}

int32_t Fail(Placement& placement, PlacementReason why) {
  placement.NoteFailure(why);
  return 1;
}

int32_t Mark(Placement& placement, const Look& look) {
  const ObjectId doc = placement.document;
  const pdf::PdfComment* comment = placement.comment;
  const bool marker = comment && (!comment->replies().empty() || !comment->contents().empty());
  // What would refuse the marker is tested before anything changes: a marker is a tracked
  // insertion, and none is made in deleted text.
  if (marker && !HostGetNamedObject(doc, OBJ_CONDITION, kAddedCondition))
    return Fail(placement, PlacementReason::NoTrackedChangeCondition);
  if (marker && LocationIsDeleted(placement, placement.end))
    return Fail(placement, PlacementReason::MarkerRefused);
  ConditionChange change;
  if (!change.Read(placement, look.name, {placement.begin, placement.end}))
    return Fail(placement, PlacementReason::ConditionRefused);
  const ObjectId condition = MadeOrFound(doc, look);
  if (!condition || !change.Write(condition))
    return Fail(placement, PlacementReason::ConditionRefused);
  if (marker && PlaceMarker(placement, placement.end) != 0) {
    change.Restore();
    return Fail(placement, PlacementReason::MarkerRefused);
  }
  return 0;
}

int32_t MarkWithoutThrowing(Placement& placement, const Look& look) {
  try {
    return Mark(placement, look);
  } catch (const std::bad_alloc&) {
    return Fail(placement, PlacementReason::ConditionRefused);
  }
}

}  // namespace

int32_t ApplyHighlight(Placement& placement) {
  return MarkWithoutThrowing(placement, kHighlight);
}

int32_t ApplyUnderline(Placement& placement) {
  return MarkWithoutThrowing(placement, kUnderline);
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
