// Why the engine could not read, lock or write a file, as values next to the path: the system's
// error number, or a cause the engine found itself, or the fault of a malformed file. The engine
// speaks no language; the command line words these in its user's.
#pragma once

#include <string>

#include "host/engine/format_fault.h"

namespace tlhost {

enum class FileCause {
  None,                  // nothing is known
  System,                // a system call failed with `systemError` (an errno value)
  NoSuchFile,            // the file to read is not there
  NoSuchFolder,          // the folder to write into is not there
  IsAFolder,             // a folder where a file was asked for
  NotARegularFile,       // a device, FIFO or socket, which is never replaced
  ReadOnlyFile,          // the user may not write the file
  PermissionDenied,      // the file may not be read, or its folder takes no new files
  CannotBeRead,          // the file did not open and the file system shows no cause
  SecondNameUnreadable,  // neither the file nor its second name (`other`) is there
  ChangedOnDisk,         // another program saved the file after it was read; nothing saved
  Locked,                // another import held the lock past the wait; `holder` its process
  Malformed,             // the content is not the file format: `format` says where and why
  Count                  // not a cause: the number of causes
};

struct FileProblem {
  FileCause cause = FileCause::None;
  std::string path;
  int systemError = 0;  // System: the errno value
  long holder = 0;      // Locked: the process holding the lock; 0 when it cannot be told
  std::string other;    // SecondNameUnreadable: the second name
  FormatFault format;   // Malformed

  explicit operator bool() const { return cause != FileCause::None; }
};

// A problem of `cause` with `path` and no other value.
FileProblem ProblemOf(FileCause cause, const std::string& path);

// "PATH: cause 1 errno 28 (...)": the problem for logs and tests, not for users; the C
// library's English text of an errno value stands in brackets.
std::string Diagnostic(const FileProblem& problem);

}  // namespace tlhost
