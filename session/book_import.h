// The import of a book: each component document with its range of PDF pages.
#pragma once

#include <cstdint>

#include "ui/filter_criteria.h"

namespace osprevan::session {

class ImportSession;

struct ImportRun {
  int32_t failed = 0;
  bool importRan = false;  // the summary is due
};

// PLACEHOLDER: imports nothing yet and leaves `run` as it is; the walk over the book's
// components comes with book imports.
void ImportBook(ImportSession& session, ui::FilterCriteria& criteria, ImportRun& run);

}  // namespace osprevan::session
