// One comment prepared for the document: where it goes, what is done there, and whether the
// place can be trusted. A placement whose place is doubtful is "misplaced" and only gets a
// marker, and it keeps the reason that decided it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "apply/outcome_counters.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_comment.h"
#include "support/status.h"
#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::apply {

// What is done with a placement, from the kind of its comment as read (KindOfComment).
enum class PlacementKind : uint8_t {
  Other,
  Highlight,      // Highlight without contents
  Underline,      // Underline, Squiggly
  Deletion,       // StrikeOut, Deletion without a replacement
  Note,           // Text, FreeText
  HighlightNote,  // Highlight with contents
  Replacement,    // StrikeOut, Deletion with the Caret of its replace
  Insertion,      // Caret
};

// Why a placement was misplaced or failed; the first reason found is kept.
enum class PlacementReason : uint8_t {
  None = 0,
  Unconfirmed,               // the PDF text did not confirm the place (fallback or no match)
  NoElement,                 // the comment covers no element of the page's structure
  ContainerNotFound,         // a table, cell, footnote or flow on the way was not found
  FoundByCounting,           // the paragraph was not found by its identifier
  InsideParagraphNumber,     // the range starts inside the paragraph's number
  BeyondParagraphText,       // the text ran out before the offset was reached
  TextChanged,               // the paragraph's text changed since the PDF was made
  InsideBlock,               // the range lies inside a block of a structured document
  BeyondParagraphEnd,        // an end lay past its paragraph's end and was cut back
  NotInParagraph,            // a location is not in a paragraph
  TableMismatch,             // the ends lie in different table rows or tables
  SelectionMoved,            // the host moved the selection made from the locations
  EndsInDifferentFlows,      // the host's comparison of the ends refused them
  PieceRefused,              // a piece of the range was refused by the host's comparison
  SameSpot,                  // meets another comment of the import: its place is their change
  InsideDeletedText,         // the insertion point lies inside deleted text
  NoTrackedChangeCondition,  // the document has no tracked-change condition
  MarkerRefused,             // the host did not make the marker
  ConditionRefused,          // a condition could not be made, found or set on the text
  TextRefused,               // the host did not take the inserted text
  PageUnreadable,            // the PDF library could not read the text of the comment's page
  PlaceInDeletedText,        // the marker's place is deleted text; it stands beside it
  OutOfMemory,               // memory ran out while the placement was made or applied
  CoversAnchor,              // a struck range covers an anchor, a marker or an element boundary
  TwoPlaces,                 // the comment's shape points at another place about as well
};

// A short English name of the reason, for diagnostics and reports.
const char* ReasonName(PlacementReason reason);

class TrackedInsertions;

struct Placement {
  PlacementKind kind = PlacementKind::Other;
  std::string dateText;  // the comment's date as the PDF library writes it
  int32_t pageIndex = -1;
  tolvane::TTextLoc begin{};
  tolvane::TTextLoc end{};
  // Where a replacement's new text goes: after the anchors, markers and element beginnings that
  // stand at its end, which the struck range leaves out. Object 0 for the end itself.
  tolvane::TTextLoc insertAt{};
  tolvane::ObjectId flow = 0;
  tolvane::ObjectId document = 0;
  bool misplaced = false;
  const pdf::PdfComment* comment = nullptr;  // not owned
  // What the placing this placement belongs to has inserted so far; not owned, none outside one.
  TrackedInsertions* insertions = nullptr;
  PlacementReason reason = PlacementReason::None;
  // The comment of this import whose change took this placement's place (SameSpot); not owned.
  const pdf::PdfComment* meets = nullptr;
  // Its marker stands in the document, also when its change failed.
  bool markerStands = false;

  // Why applying it failed, apart from why it was misplaced; the first one found stays.
  PlacementReason failure = PlacementReason::None;
  // Set when locating found the document not as the PDF shows it at the place: the paragraph
  // was found by counting, or its text changed. The first such reason.
  PlacementReason documentDiffers = PlacementReason::None;

  // Marks the placement misplaced; the first reason stays.
  void Misplace(PlacementReason why) {
    misplaced = true;
    if (reason == PlacementReason::None) reason = why;
  }
  void NoteFailure(PlacementReason why) {
    if (failure == PlacementReason::None) failure = why;
  }
  // Notes the failure and answers it as a status.
  support::Status Fail(PlacementReason why) {
    NoteFailure(why);
    return support::Status::Failed(ReasonName(why));
  }
};

// How a kind of placement changes the document when its place is trusted.
enum class Applied : uint8_t { Nothing, TrackedChange, Condition, Marker };

// What a marker shows of the comment's own text, after its author and date.
enum class OwnText : uint8_t {
  None,
  Contents,  // the comment's contents, when it has any
  Added,     // the comment's contents, always: the text it inserts
  New,       // the contents of the Caret of its replace, always
};

// What a marker of the kind shows, after the comment's author and date.
struct MarkerFields {
  int label = 0;            // the marker's first field (support/message_ids.h)
  bool blankField = false;  // an empty field follows the label
  OwnText ownText = OwnText::Contents;
  int markedTextLabel = 0;  // the field of the PDF text it marked; 0 for none
};

// What the kind does to the document's text.
struct TextEffect {
  Applied applied = Applied::Nothing;
  // The tracked change or the condition; null for the others.
  support::Status (*apply)(Placement&) = nullptr;
  bool strikes = false;  // it marks its range deleted
  bool inserts = false;  // it inserts the comment's text
  // It goes in at a point, the end of its range, rather than over a range.
  bool atPoint = false;
  // It marks its text up to the range's end (deleted, highlighted, underlined), so that what is
  // placed at that end goes after it.
  bool marksToRangeEnd = false;
};

// When the kind gets a marker besides its change.
struct MarkerRule {
  bool always = false;             // whatever the comment holds
  bool aloneOnEmptyRange = false;  // the marker and no change when its range is empty
  // Its marker goes into its tracked change as the text it adds (a deletion's, when the
  // comment has replies or contents): the only added text of the kind.
  bool insideChange = false;
};

// Everything that tells the kinds of placement apart, one row a kind.
struct PlacementKindRow {
  PlacementKind kind = PlacementKind::Other;
  const char* name = "";  // in the report and the diagnostics: "insertion", "highlight note"
  // The kind read from the PDF that it comes from, which is also the summary's row that counts
  // it (NotImported: not counted).
  pdf::CommentKind read = pdf::NotImported;
  // The kind it becomes when the comment has contents of its own; Other when it stays.
  PlacementKind withContents = PlacementKind::Other;
  // It is put where the reviewer pointed, which the page text need not confirm: only a document
  // that differs there, or a second place as near, makes it doubtful.
  bool placedWherePointed = false;
  MarkerFields marker;
  MarkerRule markerRule;
  TextEffect effect;
};

// The row of a kind; PlacementKind::Other's for a value that is no kind.
const PlacementKindRow& KindRow(PlacementKind kind);

// The first kind read as `read` (Highlight before HighlightNote); Other for none.
PlacementKind KindRead(pdf::CommentKind read);

// The kind as the report and the diagnostics name it: "insertion", "highlight note", ...
const char* PlacementKindName(PlacementKind kind);

// Whether the placement counts as misplaced. A note is put where the reviewer pointed, which the
// page text need not confirm, so a note counts only when the document differs at its place or
// its icon points at two places.
bool CountsAsMisplaced(const Placement& placement);

// Whether the placement gets a marker: notes, replacements and insertions, highlights with
// contents, comments with replies or contents, and every misplaced placement.
bool NeedsMarker(const Placement& placement);

}  // namespace osprevan::apply
