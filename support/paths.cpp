#include "support/paths.h"

namespace osprevan::support {

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/' || directory.back() == '\\') return directory + name;
  return directory + kPathSeparator + name;
}

void SplitPath(const std::string& path, std::string& directory, std::string& name) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) {
    directory.clear();
    name = path;
    return;
  }
  directory = path.substr(0, slash);
  name = path.substr(slash + 1);
}

std::string ReplaceLastExtension(const std::string& text, const std::string& extension) {
  const size_t dot = text.rfind('.');
  if (dot == std::string::npos) return text + extension;
  return text.substr(0, dot) + extension;
}

}  // namespace osprevan::support
