#include "host/engine/document_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace tlhost {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

DocumentLock::~DocumentLock() {
  close(fd_);
}

std::unique_ptr<DocumentLock> DocumentLock::Acquire(const std::string& path, const LockWait& wait,
                                                    FileProblem& problem) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kPoll = std::chrono::milliseconds(20);
  problem = FileProblem{};
  const auto deadline = Clock::now() + std::chrono::duration<double>(wait.seconds);
  bool told = false;
  int vanished = 0;  // times the holder was gone before it could be named
  for (;;) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return nullptr;
    struct stat locked {};
    if (fstat(fd, &locked) != 0 || !S_ISREG(locked.st_mode)) {
      close(fd);
      return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before us may have saved by renaming a new file into place: then the lock
      // is on a file no longer named `path`, and the new one is locked instead.
      struct stat named {};
      if (stat(path.c_str(), &named) == 0 && SameFile(named, locked))
        return std::unique_ptr<DocumentLock>(new DocumentLock(fd));
      close(fd);
      continue;
    }
    const int cause = errno;
    close(fd);
    if (cause != EWOULDBLOCK && cause != EINTR) return nullptr;
    const pid_t holder = LockHolder(path);
    // No holder in the table: it let go just now, so the lock is tried again at once.
    if (holder == 0 && ++vanished <= 3) continue;
    if (Clock::now() >= deadline) {
      problem = ProblemOf(FileCause::Locked, path);
      problem.holder = holder;
      return nullptr;
    }
    if (!told && wait.onWaiting) wait.onWaiting(holder);
    told = true;
    std::this_thread::sleep_for(kPoll);
  }
}

pid_t LockHolder(const std::string& path) {
  struct stat file {};
  if (stat(path.c_str(), &file) != 0) return 0;
  // Lines such as "1: FLOCK  ADVISORY  WRITE 4242 08:01:1234567 0 EOF"; the device is in hex.
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, identity;
    long pid = 0;
    // A waiter is listed under the holder as "1: -> FLOCK ...".
    if (!(fields >> number >> kind) || kind == "->") continue;
    if (!(fields >> mode >> access >> pid >> identity)) continue;
    unsigned major = 0, minor = 0;
    unsigned long inode = 0;
    if (std::sscanf(identity.c_str(), "%x:%x:%lu", &major, &minor, &inode) != 3) continue;
    if (inode == file.st_ino && makedev(major, minor) == file.st_dev)
      return static_cast<pid_t>(pid);
  }
  return 0;
}

}  // namespace tlhost
