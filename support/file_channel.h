// A byte channel to a file: open with a mode ("r", "w", "a"), read or write bytes, close.
#pragma once

#include <cstdio>
#include <string>

#include "support/status.h"

namespace osprevan::support {

class FileChannel {
 public:
  FileChannel() = default;
  FileChannel(const FileChannel&) = delete;
  FileChannel& operator=(const FileChannel&) = delete;
  ~FileChannel() { Close(); }

  bool Open(const std::string& path, const char* mode);
  bool IsOpen() const { return file_ != nullptr; }
  bool Write(const void* bytes, size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }
  // Reads the whole remaining file; false on a read error.
  bool ReadAll(std::string& out);
  // Closes the channel; false when buffered bytes could not be written.
  bool Close();

 private:
  std::FILE* file_ = nullptr;
};

// Writes `bytes` to a temporary file beside `path` and renames it to `path`, so that a failed
// write leaves the old file whole. Fails when nothing was replaced.
Status ReplaceFile(const std::string& path, const std::string& bytes);

// Whether `path` names an existing regular file that may be read.
bool IsReadableFile(const std::string& path);

}  // namespace osprevan::support
