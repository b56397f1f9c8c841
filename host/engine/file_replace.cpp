#include "host/engine/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "host/engine/file_access.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

namespace fs = std::filesystem;

bool WriteAll(int fd, const std::string& content) {
  const char* at = content.data();
  size_t left = content.size();
  while (left > 0) {
    const ssize_t written = write(fd, at, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    at += written;
    left -= static_cast<size_t>(written);
  }
  return true;
}

// The old file's owner and group where the process may set them (another owner only as the
// superuser; a group the process's user belongs to), then its permission bits: changing the
// owner may clear the set-user-ID bit, so the bits come last.
void KeepOwnerAndMode(int fd, const struct stat& old) {
  if (fchown(fd, old.st_uid, old.st_gid) != 0) (void)fchown(fd, static_cast<uid_t>(-1), old.st_gid);
  (void)fchmod(fd, old.st_mode & 07777);
}

// Flushes the folder's entry for the renamed file. A file system that cannot flush a folder
// (EINVAL) has nothing more to give; the new file is in place either way.
void FlushFolder(const fs::path& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)fsync(fd);
  close(fd);
}

}  // namespace

int32_t WriteFileReplacing(const std::string& path, const std::string& content, std::string& error,
                           const ReplaceStepHook& afterStep) {
  const fs::path target(path);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  struct stat old {};
  const bool replacing = stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (replacing && !MayWriteFile(path)) {
    error = path + ": read-only file";
    return tolvane::ERR_READ_ONLY;
  }
  std::random_device random;
  const fs::path temporary =
      folder / ("." + target.filename().string() + ".tmp" + std::to_string(random()));
  // Private until complete: the old file's readers are given access only with its bits.
  const int fd =
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return tolvane::ERR_FILE_WRITE;
  }
  if (replacing) KeepOwnerAndMode(fd, old);
  const bool written = WriteAll(fd, content) && fsync(fd) == 0;
  const int writeErrno = errno;
  if (close(fd) != 0 || !written) {
    std::remove(temporary.c_str());
    error = "cannot write " + path + ": " + std::strerror(written ? errno : writeErrno);
    return tolvane::ERR_FILE_WRITE;
  }
  if (afterStep) afterStep(ReplaceStep::TemporaryWritten);
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return tolvane::ERR_FILE_WRITE;
  }
  if (afterStep) afterStep(ReplaceStep::Renamed);
  FlushFolder(folder);
  return tolvane::ERR_NONE;
}

}  // namespace tlhost
