// The host's PDF export: a tagged PDF of a document or a book, whose structure tree names
// every paragraph and element of the source (docs/export.md).
#pragma once

#include <cstdint>
#include <string>

#include "host/engine/engine.h"
#include "host/export/export_options.h"

namespace tlhost::pdfexport {

// Exports an open document or book of `engine` to `path`; a book's component documents are
// opened in the engine as needed. Answer 0, or an error number with `error` set; on failure
// `path` is left as it was.
int32_t ExportPdf(Engine& engine, ObjectId documentOrBook, const ExportOptions& options,
                  const std::string& path, std::string& error);

// Why an export may not replace the file at its output path.
enum class OutputRefusal {
  kNone,
  kIsAnInput,  // the document, or one of the book's components (by device and inode)
  kIsAFolder,
  kNotARegularFile,
  kNotAPdf,  // refused only when the caller asks
};

struct OutputCheck {
  OutputRefusal refusal = OutputRefusal::kNone;
  std::string input;  // the input it is, for kIsAnInput
};

// Whether the export of the open document or book `id`, opened from `file`, may replace `out`.
OutputCheck CheckOutput(const Engine& engine, ObjectId id, const std::string& file,
                        const std::string& out, bool refuseNonPdf);

// Opens `file` (a document, or a book when it ends in ".tlb") in a new engine and exports it.
int32_t ExportFile(const std::string& file, const ExportOptions& options, const std::string& path,
                   std::string& error);

}  // namespace tlhost::pdfexport
