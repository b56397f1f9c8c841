// What pdf/'s own values hold of the PDF library, for pdf/'s calls into the library: the open
// document of an OpenedPdf and the date of a CriteriaDate. The layers above hold those values
// without seeing the library's types.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/criteria_date.h"
#include "pdf/opened_pdf.h"

namespace osprevan::pdf {

struct LibraryHandles {
  static OkDoc* Document(const OpenedPdf& pdf) { return static_cast<OkDoc*>(pdf.document_); }
  static OkDate* Date(const CriteriaDate& date) { return static_cast<OkDate*>(date.date_); }
};

// The open document; null when it did not open.
inline OkDoc* LibraryDocument(const OpenedPdf& pdf) {
  return LibraryHandles::Document(pdf);
}
// The library's date; null when the library was not loaded when the date was made.
inline OkDate* LibraryDate(const CriteriaDate& date) {
  return LibraryHandles::Date(date);
}

}  // namespace osprevan::pdf
