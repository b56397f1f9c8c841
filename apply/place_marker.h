// "Comment" markers in the document: the marker of a placement, made a tracked insertion so
// that the document's review of tracked changes lists it, and the test for deleted text that
// markers and tracked insertions share.
#pragma once

#include "apply/placement.h"
#include "support/status.h"
#include "tolvane/values.h"

namespace osprevan::apply {

// Makes the placement's marker at `location` in its document: done when the marker stands as a
// tracked insertion. Fails when the location lies in deleted text or the host refused the
// marker (nothing is made), and when the document has no "TL8_TRACK_CHANGES_ADDED" (the marker
// stays).
support::Status PlaceMarker(const Placement& placement, tolvane::TTextLoc location);

// The place nearest to `location` in its paragraph where a marker stands outside deleted text:
// `location` itself when it is not in deleted text, else the first place after the deleted
// stretch that holds it, else the last place before that stretch. False when the paragraph has
// none or its length cannot be read. Moves the document's selection.
bool PlaceOutsideDeletedText(const Placement& placement, tolvane::TTextLoc location,
                             tolvane::TTextLoc& place);

// Whether `location` lies inside tracked deleted text: "TL8_TRACK_CHANGES_DELETED" on the
// characters on both sides of it. Either edge of a struck stretch is outside it. Moves the
// document's selection to `location`. False when the host session does not protect deleted text.
bool LocationIsDeleted(const Placement& placement, tolvane::TTextLoc location);

}  // namespace osprevan::apply
