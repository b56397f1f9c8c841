#include "host/engine/file_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace tlhost {

namespace fs = std::filesystem;

bool MayWriteFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return false;
  return (status.st_mode & S_IWUSR) != 0 && access(path.c_str(), W_OK) == 0;
}

FileCause ReadCause(const std::string& path) {
  std::error_code ignored;
  const fs::file_status status = fs::status(path, ignored);
  if (!fs::exists(status)) return FileCause::NoSuchFile;
  if (fs::is_directory(status)) return FileCause::IsAFolder;
  if (access(path.c_str(), R_OK) != 0) return FileCause::PermissionDenied;
  return FileCause::None;
}

std::string SavedPath(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

FileCause WriteCause(const std::string& path) {
  std::error_code ignored;
  const fs::path target(SavedPath(path));
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  if (!fs::is_directory(folder, ignored)) return FileCause::NoSuchFolder;
  if (fs::is_directory(target, ignored)) return FileCause::IsAFolder;
  if (fs::exists(target, ignored) && !fs::is_regular_file(target, ignored))
    return FileCause::NotARegularFile;
  if (fs::exists(target, ignored) && !MayWriteFile(target.string())) return FileCause::ReadOnlyFile;
  // The file is written beside its target and renamed, so the folder must take new files.
  if (access(folder.c_str(), W_OK) != 0) return FileCause::PermissionDenied;
  return FileCause::None;
}

}  // namespace tlhost
