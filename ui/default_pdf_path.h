// The PDF path the input-file dialog proposes: beside the active document or book, with only
// its last extension replaced by ".pdf".
#pragma once

#include <string>

namespace osprevan::ui {

struct ProposedPdf {
  std::string directory;
  std::string name;
  std::string path;  // directory, separator and name; empty when both are empty
};

// Splits `sourcePath` and builds the proposal; the separator is "/" for a network location and
// the platform's own otherwise.
ProposedPdf ProposePdfPath(const std::string& sourcePath);

// The proposal for the active document, else the active book.
ProposedPdf DefaultPdfPath();

// A network path replaced by its local copy (fetched first, else from the cache); any other
// path stays as typed.
std::string ResolveNetworkPath(const std::string& path);

}  // namespace osprevan::ui
