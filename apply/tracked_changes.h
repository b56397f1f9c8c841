// Insertions, deletions and replacements as the host's tracked changes: inserted text carries
// "TL8_TRACK_CHANGES_ADDED", struck text "TL8_TRACK_CHANGES_DELETED", each with the comment's
// author and time. Struck text is only marked, never removed. The document's own
// change-tracking setting is neither read nor changed.
#pragma once

#include <cstdint>

#include "apply/placement.h"

namespace osprevan::apply {

// Each answers 0 when the change is in the document and 1 when it failed, with the reason kept
// in the placement. Everything that can be known beforehand (the tracked-change conditions,
// text already deleted at the insertion point or the marker's place) is tested before the
// document changes; a condition the host refuses part way is taken off again. Text the host
// has inserted cannot be taken out again: a replacement or insertion that fails after that
// leaves it in, tracked when the host took the condition.

// The comment's text at the placement's end; a marker after it when the comment has replies.
support::Status ApplyInsertion(Placement& placement);
// Marks begin..end; a marker at the end when the comment has replies or contents.
support::Status ApplyDeletion(Placement& placement);
// Marks begin..end and inserts the Caret's text at the insertion point after it; a marker
// after the new text when the Caret has replies.
support::Status ApplyReplacement(Placement& placement);

}  // namespace osprevan::apply
