#include "pdf/pdf_comment.h"

#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

PdfComment::~PdfComment() {
  // Boxes, then replies (each with its own thread), then the replacement, then the date.
  boxes_.clear();
  replies_.clear();
  replacement_.reset();
  if (date_ && Tables().dates) {
    try {
      Tables().dates->PdfDateFree(date_);
    } catch (const ondrelkit::PdfError& error) {
      RecordPdfError(error.code());
    }
  }
}

void PdfComment::SetAuthor(std::string& author) {
  author_ = std::move(author);
  author.clear();
}

void PdfComment::SetContents(std::string& contents) {
  contents_ = std::move(contents);
  contents.clear();
}

bool PdfComment::SetDate(const OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  if (!dates || !date) return false;
  try {
    if (!date_) date_ = dates->PdfDateNew();
    dates->PdfDateCopy(date, date_);
    return true;
  } catch (const ondrelkit::PdfError& error) {
    RecordPdfError(error.code());
    return false;
  }
}

bool AnnotObjectLess::operator()(const OkObj* a, const OkObj* b) const {
  return Tables().objects->PdfObjCompare(a, b) < 0;
}

}  // namespace osprevan::pdf
