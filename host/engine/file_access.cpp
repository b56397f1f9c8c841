#include "host/engine/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace tlhost {

namespace fs = std::filesystem;

bool MayWriteFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return false;
  return (status.st_mode & S_IWUSR) != 0 && access(path.c_str(), W_OK) == 0;
}

std::string ReadCause(const std::string& path) {
  std::error_code ignored;
  const fs::file_status status = fs::status(path, ignored);
  if (!fs::exists(status)) return "no such file";
  if (fs::is_directory(status)) return "is a folder";
  if (access(path.c_str(), R_OK) != 0) return "permission denied";
  return "";
}

std::string SavedPath(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string SystemWords(int error) {
  std::string words = std::strerror(error);
  if (!words.empty())
    words[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words[0])));
  return words;
}

std::string WriteCause(const std::string& path) {
  std::error_code ignored;
  const fs::path target(SavedPath(path));
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ignored)) return "no such folder";
  if (fs::is_directory(target, ignored)) return "is a folder";
  if (fs::exists(target, ignored) && !fs::is_regular_file(target, ignored))
    return "not a regular file";
  if (fs::exists(target, ignored) && !MayWriteFile(target.string())) return "read-only file";
  // The file is written beside its target and renamed, so the folder must take new files.
  if (access(folder.c_str(), W_OK) != 0) return "permission denied";
  return "";
}

}  // namespace tlhost
