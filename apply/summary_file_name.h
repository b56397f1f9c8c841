// The name of the summary file that goes beside a PDF, which the per-comment report's name
// follows too.
#pragma once

#include <string>

namespace osprevan::apply {

// The PDF path's file-name extension replaced by ".smry", or ".smry" appended when the file
// name has none.
std::string SummaryFileName(const std::string& pdfPath);

}  // namespace osprevan::apply
