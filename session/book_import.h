// The import of a book: each component document with its range of PDF pages.
#pragma once

#include <cstdint>
#include <string>

#include "pdf/filter_criteria.h"
#include "session/import_session.h"

namespace osprevan::session {

// Pairs the active book's components, in book order, with the "Document" kids of the PDF's
// top element and places each component's comments in its own document. Counters add up in
// `session`; `run` learns whether a step failed and whether the summary is due.
void ImportBook(ImportSession& session, pdf::FilterCriteria& criteria,
                const std::u16string& pdfPath, ImportRun& run);

}  // namespace osprevan::session
