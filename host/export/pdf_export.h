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

// Opens `file` (a document, or a book when it ends in ".tlb") in a new engine and exports it.
int32_t ExportFile(const std::string& file, const ExportOptions& options, const std::string& path,
                   std::string& error);

}  // namespace tlhost::pdfexport
