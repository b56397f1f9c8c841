// What the host asks the file system about the files it reads and writes: whether the user may
// write a file, and why a read or a write failed, as a cause the command line words.
#pragma once

#include <string>

#include "host/engine/file_problem.h"

namespace tlhost {

// Whether the user may write the existing file `path`: its owner may, by its permission bits
// (which also hold for a process that could write anything), and this process may. False for a
// file that is not there.
bool MayWriteFile(const std::string& path);

// Why `path` could not be read: NoSuchFile, IsAFolder or PermissionDenied; None when the file
// system shows no cause.
FileCause ReadCause(const std::string& path);

// The file a save of `path` replaces: the file a symbolic link (or a chain of them) finally
// names, so that the link stays a link; `path` itself when it is no link or names nothing.
std::string SavedPath(const std::string& path);

// Why `path` could not be written by a file beside it renamed into place: NoSuchFolder,
// IsAFolder, NotARegularFile (a device, FIFO or socket), ReadOnlyFile, PermissionDenied (the
// folder takes no new files); None when the file system shows no cause. A symbolic link is
// followed to the file it names.
FileCause WriteCause(const std::string& path);

}  // namespace tlhost
