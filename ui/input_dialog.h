// The input-file dialog: the user names the PDF that holds the comments and how much of it to
// import; the PDF is checked, opened and the filter criteria filled. A call from another client
// gets the same result from its path without any dialog.
#pragma once

#include <cstdint>
#include <string>

#include "pdf/filter_criteria.h"
#include "pdf/pdf_document.h"
#include "support/status.h"

namespace osprevan::ui {

// The three choices of the dialog (items 10, 11, 12).
enum FilterChoice : int32_t {
  kChoiceAllComments = 0,
  kChoiceChangesOnly = 1,
  kChoiceCustomFilter = 2,
};

// Done when the import goes on: `pdf` is open and `path` holds its UTF-16 path, both the
// caller's. Fails when the user cancelled or the PDF did not open; nothing is left open then.
support::Status ChooseInputPdf(OkDoc*& pdf, std::u16string& path, pdf::FilterCriteria& criteria);

// The same without dialogs, from the path another client gave.
support::Status OpenCallerPdf(OkDoc*& pdf, std::u16string& path, pdf::FilterCriteria& criteria);

}  // namespace osprevan::ui
