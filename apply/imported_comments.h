// The comments earlier imports placed in a document, so that importing a PDF again, or a
// reviewer's updated PDF, adds only what is new. Each placed comment leaves a marker of a type
// of its own at the end of the paragraph it went to, holding the comment's identity and how
// many replies it had. The host keeps markers in its file, the export draws none, and no text
// of the writer's changes for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "apply/placement.h"
#include "pdf/pdf_comment.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

inline constexpr const char* kImportedMarkerType = "TL_PDF_Comment_Imported";

// The identity of each comment imported into the document, with the replies it had then.
using ImportedComments = std::unordered_map<std::string, size_t>;

// Reads the markers of every paragraph list of the document: its flows (those of anchored
// frames too), and the titles and cells of tables and the footnotes anchored in them.
ImportedComments ReadImportedComments(tolvane::ObjectId document);

// The replies of a comment at every depth, those of a replace's Caret included.
size_t ThreadSize(const pdf::PdfComment& comment);

// Leaves the placement's comment as imported in its document. Fails when the host made no
// marker or the comment has no identity.
support::Status NoteImported(const Placement& placement);

}  // namespace osprevan::apply
