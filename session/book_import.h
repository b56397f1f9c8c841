// The import of a book: each component document with its range of PDF pages.
#pragma once

#include <cstdint>

#include "session/import_session.h"
#include "ui/filter_criteria.h"

namespace osprevan::session {

// PLACEHOLDER: imports nothing yet and leaves `run` as it is; the walk over the book's
// components comes with book imports.
void ImportBook(ImportSession& session, ui::FilterCriteria& criteria, ImportRun& run);

}  // namespace osprevan::session
