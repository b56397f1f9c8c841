// The input-file dialog: the user names the PDF that holds the comments and how much of it to
// import; once the PDF is open, the choice narrows the filter criteria, with the filter dialog
// for a custom filter.
#pragma once

#include <cstdint>
#include <string>

#include "pdf/filter_criteria.h"
#include "pdf/opened_pdf.h"
#include "platform/win/window.h"
#include "support/status.h"

namespace osprevan::ui {

// The three choices of the dialog (items 10, 11, 12).
enum FilterChoice : int32_t {
  kChoiceAllComments = 0,
  kChoiceChangesOnly = 1,
  kChoiceCustomFilter = 2,
};

// What the user chose: the PDF's UTF-16 path and how much of it to import.
struct InputChoice {
  std::u16string path;
  FilterChoice filter = kChoiceAllComments;
  // The window the filter dialog belongs to, taken when the user confirmed a custom filter.
  win::HWND filterOwnerWindow = nullptr;
};

// Runs the dialog. Done with the user's choice of a path that names a file that may be read as
// a PDF; fails when the user cancelled or the host could not run the dialog.
support::Status ChooseInputPdf(InputChoice& choice);

// Narrows `criteria`, already prepared for the open PDF, as the choice asks; a custom filter
// lists the PDF's authors in the filter dialog. Fails when the user cancelled the filter.
support::Status NarrowCriteria(const InputChoice& choice, const pdf::OpenedPdf& pdf,
                               pdf::FilterCriteria& criteria);

}  // namespace osprevan::ui
