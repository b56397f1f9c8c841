// Finishes the PDF that cairo drew: replaces cairo's flat structure tree with the export's
// own (type names, identifiers, page-spanning elements, role map), and writes the
// information entries and page rotations. Uses qpdf.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "host/export/page_layout.h"
#include "host/export/struct_tree.h"

namespace tlhost::pdfexport {

struct FinishSettings {
  std::string creator;
  int64_t creationTime = 0;  // seconds since 1970, UTC
  std::map<int, int> pageRotation;
};

// Reads `drawnPath`, writes `outPath` (through a temporary file, so a failure leaves an
// existing file alone). Answer 0, or an error number with `error` set.
int32_t FinishPdf(const std::string& drawnPath, const std::string& outPath, const StructTree& tree,
                  const DrawnPages& pages, const FinishSettings& settings, std::string& error);

// "D:YYYYMMDDHHmmSSZ".
std::string PdfDate(int64_t secondsSince1970);

}  // namespace tlhost::pdfexport
