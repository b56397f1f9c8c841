// One writer at a time: an exclusive advisory lock on a document file, held from before the
// document is read until it is saved. The operating system drops the lock with the process, so
// a killed import never leaves one behind.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>

#include "host/engine/file_problem.h"

namespace tlhost {

// How long to wait for another process's lock, and whom to tell that we wait (with that
// process's id, 0 when it cannot be found).
struct LockWait {
  double seconds = 30;
  std::function<void(pid_t holder)> onWaiting;
};

class DocumentLock {
 public:
  ~DocumentLock();
  DocumentLock(const DocumentLock&) = delete;
  DocumentLock& operator=(const DocumentLock&) = delete;

  // Locks the file `path` names now. Null with no `problem` when there is nothing to lock (no
  // such file, or a file system without locks: the read says why); null with `problem` Locked
  // when another process held the lock past the wait.
  static std::unique_ptr<DocumentLock> Acquire(const std::string& path, const LockWait& wait,
                                               FileProblem& problem);

 private:
  explicit DocumentLock(int fd) : fd_(fd) {}
  int fd_;
};

// The process holding a lock on the file `path` names, from the system's table of locks; 0
// when it cannot be told.
pid_t LockHolder(const std::string& path);

}  // namespace tlhost
