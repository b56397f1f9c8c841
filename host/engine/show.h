// Prints a document readably for `tolvane show`; the format is given in docs/file-format.md.
#pragma once

#include <iosfwd>
#include <string>

#include "host/engine/document.h"

namespace tlhost {

class Engine;

// Prints an open document, or a book's top-level components with the paths they resolve to.
void ShowOpen(const Engine& engine, ObjectId id, std::ostream& out);

// Prints a loaded document.
void ShowDocument(const Document& document, std::ostream& out);

}  // namespace tlhost
