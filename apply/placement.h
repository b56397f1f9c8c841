// One comment prepared for the document: where it goes, what is done there, and whether the
// place can be trusted. A placement whose place is doubtful is "misplaced" and only gets a
// marker, and it keeps the reason that decided it.
#pragma once

#include <cstdint>
#include <string>

#include "pdf/pdf_comment.h"
#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::apply {

// What is done with a placement, from its comment's subtype.
enum PlacementKind : uint32_t {
  PlaceOther = 0,
  PlaceHighlight = 1,      // Highlight without contents
  PlaceUnderline = 2,      // Underline, Squiggly
  PlaceDeletion = 3,       // StrikeOut, Deletion without a replacement
  PlaceNote = 5,           // Text, FreeText
  PlaceHighlightNote = 6,  // Highlight with contents
  PlaceReplacement = 7,    // StrikeOut, Deletion with the Caret of its replace
  PlaceInsertion = 8,      // Caret
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
  SameSpot,                  // a marker at the same spot as the placement before it
  InsideDeletedText,         // the insertion point lies inside deleted text
  NoTrackedChangeCondition,  // the document has no tracked-change condition
  MarkerRefused,             // the host did not make the marker
  ConditionRefused,          // a condition could not be made, found or set on the text
  TextRefused,               // the host did not take the inserted text
  PageUnreadable,            // the PDF library could not read the text of the comment's page
  PlaceInDeletedText,        // the marker's place is deleted text; it stands beside it
};

// A short English name of the reason, for diagnostics and reports.
const char* ReasonName(PlacementReason reason);

struct Placement {
  uint32_t kind = PlaceOther;
  std::string dateText;  // the comment's date as the PDF library writes it
  int32_t pageIndex = -1;
  tolvane::TTextLoc begin{};
  tolvane::TTextLoc end{};
  tolvane::ObjectId flow = 0;
  tolvane::ObjectId document = 0;
  uint8_t misplaced = 0;
  const pdf::PdfComment* comment = nullptr;  // not owned
  PlacementReason reason = PlacementReason::None;

  // Why applying it failed, apart from why it was misplaced; the first one found stays.
  PlacementReason failure = PlacementReason::None;
  // Set when locating found the document not as the PDF shows it at the place: the paragraph
  // was found by counting, or its text changed. The first such reason.
  PlacementReason documentDiffers = PlacementReason::None;

  // Marks the placement misplaced; the first reason stays.
  void Misplace(PlacementReason why) {
    misplaced = 1;
    if (reason == PlacementReason::None) reason = why;
  }
  void NoteFailure(PlacementReason why) {
    if (failure == PlacementReason::None) failure = why;
  }
};

// The kind as the report and the diagnostics name it: "insertion", "highlight note", ...
const char* PlacementKindName(uint32_t kind);

// Whether the placement counts as misplaced. A note is put where the reviewer pointed, which the
// page text need not confirm, so a note counts only when the document differs at its place.
bool CountsAsMisplaced(const Placement& placement);

// Whether the placement gets a marker: notes, replacements and insertions, highlights with
// contents, comments with replies or contents, and every misplaced placement.
bool NeedsMarker(const Placement& placement);

}  // namespace osprevan::apply
