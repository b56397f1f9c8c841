#include "host/engine/file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include "host/engine/file_access.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTemporaryInfix = ".tolvane-";

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

// ".NAME.tolvane-PID-NUMBER.tmp": hidden beside NAME, and naming the process that writes it.
std::string TemporaryName(const std::string& name, pid_t pid, unsigned number) {
  return "." + name + kTemporaryInfix + std::to_string(pid) + "-" + std::to_string(number) + ".tmp";
}

// Removes the temporary files of `name` whose writing process no longer runs: it was killed
// before its rename. A process id reused since only delays the removal to a later save.
void RemoveAbandonedTemporaries(const fs::path& folder, const std::string& name) {
  const std::string prefix = "." + name + kTemporaryInfix;
  std::error_code error;
  for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string file = entry->path().filename().string();
    if (file.rfind(prefix, 0) != 0 || file.size() < 4 || file.substr(file.size() - 4) != ".tmp")
      continue;
    const std::string rest = file.substr(prefix.size());
    const pid_t pid = static_cast<pid_t>(std::strtol(rest.c_str(), nullptr, 10));
    std::error_code kind;
    if (pid <= 0 || !entry->is_regular_file(kind)) continue;
    if (kill(pid, 0) != 0 && errno == ESRCH) {
      std::error_code ignored;
      fs::remove(entry->path(), ignored);
    }
  }
}

}  // namespace

std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return std::nullopt;
  return FileStamp{file.st_dev, file.st_ino, file.st_size,
                   static_cast<int64_t>(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec};
}

int32_t WriteFileReplacing(const std::string& path, const std::string& content,
                           FileProblem& problem, const ReplaceStepHook& afterStep,
                           const std::optional<FileStamp>& unchangedSince) {
  problem = FileProblem{};
  const auto fail = [&](FileCause cause, int systemError, int32_t error) {
    problem = ProblemOf(cause, path);
    problem.systemError = systemError;
    return error;
  };
  const fs::path target(SavedPath(path));
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  const bool replacing = exists && S_ISREG(old.st_mode);
  if (exists && !replacing)
    return fail(S_ISDIR(old.st_mode) ? FileCause::IsAFolder : FileCause::NotARegularFile, 0,
                tolvane::ERR_FILE_WRITE);
  if (replacing && !MayWriteFile(target.string()))
    return fail(FileCause::ReadOnlyFile, 0, tolvane::ERR_READ_ONLY);
  RemoveAbandonedTemporaries(folder, target.filename().string());
  std::random_device random;
  const fs::path temporary = folder / TemporaryName(target.filename().string(), getpid(), random());
  // Private until complete: the old file's readers are given access only with its bits.
  const int fd =
      open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
  if (fd < 0) return fail(FileCause::System, errno, tolvane::ERR_FILE_WRITE);
  if (replacing) KeepOwnerAndMode(fd, old);
  const bool written = WriteAll(fd, content) && fsync(fd) == 0;
  const int writeErrno = errno;
  if (close(fd) != 0 || !written) {
    const int cause = written ? errno : writeErrno;
    std::remove(temporary.c_str());
    return fail(FileCause::System, cause, tolvane::ERR_FILE_WRITE);
  }
  if (afterStep) afterStep(ReplaceStep::TemporaryWritten);
  // Another program may have saved the file while this one worked on its copy: that save wins.
  if (unchangedSince && StampOf(target.string()) != unchangedSince) {
    std::remove(temporary.c_str());
    return fail(FileCause::ChangedOnDisk, 0, tolvane::ERR_FILE_WRITE);
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int cause = errno;
    std::remove(temporary.c_str());
    return fail(FileCause::System, cause, tolvane::ERR_FILE_WRITE);
  }
  if (afterStep) afterStep(ReplaceStep::Renamed);
  FlushFolder(folder);
  return tolvane::ERR_NONE;
}

int32_t WriteFileReplacing(const std::string& path, const std::string& content,
                           std::string& error) {
  FileProblem problem;
  const int32_t result = WriteFileReplacing(path, content, problem);
  error = Diagnostic(problem);
  return result;
}

}  // namespace tlhost
