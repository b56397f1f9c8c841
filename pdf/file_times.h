// File times the import compares: when a source file was last written and when a PDF file was
// created. Creation is the file system's birth time where it keeps one, else the last write.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace osprevan::pdf {

// Seconds and nanoseconds since 1970, UTC.
struct FileTime {
  int64_t seconds = 0;
  uint32_t nanoseconds = 0;
  bool operator<(const FileTime& other) const {
    return seconds != other.seconds ? seconds < other.seconds : nanoseconds < other.nanoseconds;
  }
};

std::optional<FileTime> LastWriteTime(const std::string& path);
std::optional<FileTime> CreationTime(const std::string& path);

}  // namespace osprevan::pdf
