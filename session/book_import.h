// The import of a book: each component document with its range of PDF pages.
#pragma once

#include <cstdint>

#include "pdf/filter_criteria.h"
#include "session/import_session.h"

namespace osprevan::session {

// PLACEHOLDER: imports nothing yet and leaves `run` as it is; the walk over the book's
// components comes with book imports.
void ImportBook(ImportSession& session, pdf::FilterCriteria& criteria, ImportRun& run);

}  // namespace osprevan::session
