// An open PDF that belongs to one owner: opened from a path when it is made, closed when it
// goes, so that no path out of an import leaves it open or closes it twice. The layers above
// pdf/ hold it and hand it back to pdf/'s functions; only pdf/ reaches the library's document in
// it (pdf/library_handles.h).
#pragma once

#include <string>

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
  // Whether the document is open.
  bool isOpen() const { return document_ != nullptr; }

 private:
  friend struct LibraryHandles;
  // The library's document while it is open, else null. Untyped so that this header needs
  // nothing of the library.
  void* document_ = nullptr;
  bool needsPassword_ = false;
  support::Status status_ = support::Status::Done();
};

}  // namespace osprevan::pdf
