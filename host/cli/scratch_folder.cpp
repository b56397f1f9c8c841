#include "host/cli/scratch_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace tlhost {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = "tolvane-";

// The process id in "tolvane-PID-XXXXXX"; 0 when the name is not one of ours.
pid_t OwnerOf(const std::string& name) {
  if (name.rfind(kPrefix, 0) != 0) return 0;
  const char* digits = name.c_str() + std::char_traits<char>::length(kPrefix);
  char* end = nullptr;
  const long pid = std::strtol(digits, &end, 10);
  // mkdtemp replaces exactly six characters.
  if (end == digits || *end != '-' || std::char_traits<char>::length(end + 1) != 6 || pid <= 0)
    return 0;
  return static_cast<pid_t>(pid);
}

}  // namespace

void RemoveAbandonedScratchFolders(const std::string& temporary) {
  std::error_code error;
  for (fs::directory_iterator entry(temporary, error), end; !error && entry != end;
       entry.increment(error)) {
    const pid_t pid = OwnerOf(entry->path().filename().string());
    if (pid == 0 || pid == getpid()) continue;
    struct stat folder {};
    if (lstat(entry->path().c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode) ||
        folder.st_uid != geteuid())
      continue;
    // A process id reused since only delays the removal to a later command.
    if (kill(pid, 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove_all(entry->path(), ignored);
    }
  }
}

ScratchFolder::ScratchFolder() {
  std::error_code none;
  const fs::path temporary = fs::temp_directory_path(none);
  if (none) return;
  RemoveAbandonedScratchFolders(temporary.string());
  std::string pattern = (temporary / (kPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data())) path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

}  // namespace tlhost
