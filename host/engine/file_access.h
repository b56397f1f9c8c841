// What the host asks the file system about the files it reads and writes: whether the user may
// write a file, and why a read or a write failed, in a few words.
#pragma once

#include <string>

namespace tlhost {

// Whether the user may write the existing file `path`: its owner may, by its permission bits
// (which also hold for a process that could write anything), and this process may. False for a
// file that is not there.
bool MayWriteFile(const std::string& path);

// Why `path` could not be read: "no such file", "is a folder", "permission denied"; empty when
// the file system shows no cause.
std::string ReadCause(const std::string& path);

// The file a save of `path` replaces: the file a symbolic link (or a chain of them) finally
// names, so that the link stays a link; `path` itself when it is no link or names nothing.
std::string SavedPath(const std::string& path);

// The system's words for an errno value, as a line continues them: "no space left on device".
std::string SystemWords(int error);

// Why `path` could not be written by a file beside it renamed into place: "no such folder", "is
// a folder", "not a regular file" (a device, FIFO or socket), "read-only file", "permission
// denied" (the folder takes no new files); empty when the file system shows no cause. A
// symbolic link is followed to the file it names.
std::string WriteCause(const std::string& path);

}  // namespace tlhost
