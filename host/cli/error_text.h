// The engine's error numbers in the words the command line prints, and the cause of a failed
// read or write of a file as far as the file system can tell it.
#pragma once

#include <cstdint>
#include <string>

namespace tlhost {

// A few words for a tolvane::HostError, e.g. "no such object"; "error N" for a number the
// interface does not define.
std::string ErrorText(int32_t error);

// Why `path` could not be opened with `error`: ReadCause(path), else ErrorText(error).
std::string ReadProblem(const std::string& path, int32_t error);

// Why `path` could not be written with `error`: WriteCause(path), else ErrorText(error).
std::string WriteProblem(const std::string& path, int32_t error);

}  // namespace tlhost
