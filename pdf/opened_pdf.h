// An open PDF that belongs to one owner: opened from a path when it is made, closed when it
// goes, so that no path out of an import leaves it open or closes it twice.
#pragma once

#include <string>

#include "ondrelkit/ondrelkit.h"
#include "support/status.h"

namespace osprevan::pdf {

class OpenedPdf {
 public:
  // Opens the PDF at `path`. status() says whether it opened: refused when the PDF is encrypted
  // and opens only with a password, failed when the library does not open it otherwise.
  explicit OpenedPdf(const std::u16string& path);
  ~OpenedPdf();
  OpenedPdf(OpenedPdf&& other) noexcept;
  OpenedPdf& operator=(OpenedPdf&& other) noexcept;
  OpenedPdf(const OpenedPdf&) = delete;
  OpenedPdf& operator=(const OpenedPdf&) = delete;

  const support::Status& status() const { return status_; }
  bool needsPassword() const { return needsPassword_; }
  // The document while it is open; null when it did not open.
  OkDoc* get() const { return document_; }

 private:
  OkDoc* document_ = nullptr;
  bool needsPassword_ = false;
  support::Status status_ = support::Status::Done();
};

}  // namespace osprevan::pdf
