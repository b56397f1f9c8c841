// Prints a document readably for `tolvane show`; the format is given in docs/file-format.md.
#pragma once

#include <iosfwd>
#include <string>

#include "host/engine/document.h"

namespace tlhost {

// Answers the program's exit status: 0 shown, 1 the file cannot be read or is malformed.
int ShowFile(const std::string& path, std::ostream& out, std::ostream& err);

// Prints a loaded document.
void ShowDocument(const Document& document, std::ostream& out);

}  // namespace tlhost
