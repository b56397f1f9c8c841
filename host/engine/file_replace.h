// Replacing a file whole, so that the writer's file is never left short: the new content goes
// to a temporary file beside it, which gets the old file's permission bits, owner and group and
// is flushed to disk before it is renamed over the old one; then the folder is flushed. A crash
// or power cut at any step leaves the old file or the new one.
//
// The temporary file is named ".NAME.tolvane-PID-NUMBER.tmp" beside NAME, PID the writing
// process. A process killed before its rename leaves it behind; the next save of NAME removes
// those of processes that no longer run.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "host/engine/file_problem.h"

namespace tlhost {

// The steps a test may stop the process after.
enum class ReplaceStep {
  TemporaryWritten,  // the temporary file is complete and on disk; the old file is untouched
  Renamed,           // the new file has taken the old one's name; the folder is not yet flushed
};
using ReplaceStepHook = std::function<void(ReplaceStep)>;

// What tells one version of a file from another: its identity, size and modification time.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `path` names (following links); nullopt when there is none.
std::optional<FileStamp> StampOf(const std::string& path);

// Answer 0; ERR_READ_ONLY when `path` is a file the user may not write (MayWriteFile), which is
// left alone; ERR_FILE_WRITE when the content could not be written or renamed into place, with
// the old file whole and no temporary file left, or when `path` names something other than a
// regular file (a folder, device, FIFO or socket), which is never replaced. A symbolic link is
// followed to the file it finally names, which is replaced; the link stays. With
// `unchangedSince`, a file whose stamp is no longer that one (another program saved it) is
// left as it is (ChangedOnDisk). `problem` says why, with `path` and the system's error number
// where a system call failed. A new file gets the permissions the process's file-creation mask
// gives. The owner and group are kept where the process may set them.
int32_t WriteFileReplacing(const std::string& path, const std::string& content,
                           FileProblem& problem, const ReplaceStepHook& afterStep = nullptr,
                           const std::optional<FileStamp>& unchangedSince = std::nullopt);

// The same for a caller that only logs why: `error` is Diagnostic(problem).
int32_t WriteFileReplacing(const std::string& path, const std::string& content, std::string& error);

}  // namespace tlhost
