// Settings of one PDF export: the Creator entry, the creation date, page rotations and the
// form of the per-flow elements.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tlhost::pdfexport {

struct ExportOptions {
  // The Creator entry; by default "<product> <major>.<minor>" of the host session.
  std::optional<std::string> creator;
  // CreationDate in seconds since 1970 (UTC); the current time when unset.
  std::optional<int64_t> creationTime;
  // Rotation (0, 90, 180 or 270) of single pages, by page index from 0.
  std::map<int, int> pageRotation;
  // Write each flow as "Section_<flow>" (mapped to Sect) instead of "Article_<flow>" (Art).
  bool sectionElements = false;
  // Refuse to replace an existing output file that is not a PDF (the command line's rule, which
  // its --force lifts).
  bool refuseNonPdf = false;
};

}  // namespace tlhost::pdfexport
