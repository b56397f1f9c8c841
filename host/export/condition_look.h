// The look of text under a list of conditions, as the editor shows it: each shown
// condition's colour override, background and underline style, and the tracked-change
// conditions as inserted (underlined) and deleted (struck through) text.
#pragma once

#include <optional>
#include <vector>

#include "host/engine/document.h"
#include "host/export/text_look.h"

namespace tlhost::pdfexport {

inline constexpr const char* kAddedCondition = "TL8_TRACK_CHANGES_ADDED";
inline constexpr const char* kDeletedCondition = "TL8_TRACK_CHANGES_DELETED";

// Lines of tracked changes whose condition has no colour override of its own.
inline constexpr Rgb kChangeColour = {0.8, 0, 0};

// The colour a document's colour object stands for: its reserved code's fixed value. A colour
// that is not the document's, code 0 (a colour of the user's, which has no value in this host)
// and an unknown code have none.
std::optional<Rgb> ColourValue(const Document& document, ObjectId colour);

// Conditions apply in the order given: the last text colour and the last background win,
// underlines take the most lines any of them asks for. Conditions that are not the
// document's are skipped.
TextLook LookOf(const Document& document, const std::vector<ObjectId>& conditions);

}  // namespace tlhost::pdfexport
