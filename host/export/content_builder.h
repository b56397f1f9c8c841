// Turns a document of the engine into structure elements and the content the page layout
// draws: flows of body pages with their paragraphs, tables, footnotes and blocks.
#pragma once

#include "host/engine/document.h"
#include "host/export/export_options.h"
#include "host/export/layout_content.h"
#include "host/export/struct_tree.h"

namespace tlhost::pdfexport {

// Adds a "Document" element under `parent` (-1 for the root) with everything below it, and
// appends the document's content to `out`, starting on a new page.
void BuildDocumentContent(const Document& document, const ExportOptions& options, int parent,
                          StructTree& tree, LayoutContent& out);

}  // namespace tlhost::pdfexport
