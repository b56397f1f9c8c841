// Prints a document readably for `tolvane show`.
#pragma once

#include <iosfwd>
#include <string>

namespace tlhost {

// Answers the program's exit status: 0 shown, 1 the file cannot be read.
int ShowFile(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace tlhost
