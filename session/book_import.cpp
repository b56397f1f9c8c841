#include "session/book_import.h"

namespace osprevan::session {

void ImportBook(ImportSession&, ui::FilterCriteria&, ImportRun&) {}

}  // namespace osprevan::session
