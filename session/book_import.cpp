#include "session/book_import.h"

namespace osprevan::session {

void ImportBook(ImportSession&, pdf::FilterCriteria&, ImportRun&) {}

}  // namespace osprevan::session
