#include "pdf/opened_pdf.h"

#include <utility>

#include "pdf/library_handles.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"

namespace osprevan::pdf {

OpenedPdf::OpenedPdf(const std::u16string& path) : document_(OpenPdfByPath(path)) {
  if (document_) return;
  // Read at once: the library's last error is overwritten by its next call.
  needsPassword_ = LastPdfError() == kPdfErrorNeedsPassword;
  status_ = needsPassword_ ? support::Status::Refused("the PDF opens only with a password")
                           : support::Status::Failed("the PDF does not open");
}

OpenedPdf::~OpenedPdf() {
  ClosePdf(LibraryDocument(*this));
}

OpenedPdf::OpenedPdf(OpenedPdf&& other) noexcept
    : document_(std::exchange(other.document_, nullptr)),
      needsPassword_(other.needsPassword_),
      status_(std::move(other.status_)) {}

OpenedPdf& OpenedPdf::operator=(OpenedPdf&& other) noexcept {
  if (this != &other) {
    ClosePdf(LibraryDocument(*this));
    document_ = std::exchange(other.document_, nullptr);
    needsPassword_ = other.needsPassword_;
    status_ = std::move(other.status_);
  }
  return *this;
}

}  // namespace osprevan::pdf
