// Runs PDF library calls the way every caller in the plug-in does: a library error is recorded
// as the last PDF error and the caller goes on with a fallback result.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/pdf_library.h"

namespace osprevan::pdf {

template <typename Call, typename Result>
Result Guarded(Call call, Result fallback) {
  try {
    return call();
  } catch (const ondrelkit::PdfError& error) {
    RecordPdfError(error.code());
    return fallback;
  }
}

}  // namespace osprevan::pdf
