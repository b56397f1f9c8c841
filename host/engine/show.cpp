#include "host/engine/show.h"

#include <filesystem>
#include <ostream>

namespace tlhost {

int ShowFile(const std::string& path, std::ostream& out, std::ostream& err) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    err << "tolvane: cannot read " << path << "\n";
    return 1;
  }
  // The document model that gives paragraphs and marks is not built yet: the file is named only.
  out << path << "\n";
  return 0;
}

}  // namespace tlhost
