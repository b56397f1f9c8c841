#include "pdf/file_times.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace osprevan::pdf {
namespace {

std::optional<struct statx> Status(const std::string& path, unsigned int mask) {
  struct statx info {};
  if (statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, mask, &info) != 0) return std::nullopt;
  return info;
}

FileTime FromStatx(const struct statx_timestamp& t) {
  return FileTime{t.tv_sec, t.tv_nsec};
}

}  // namespace

std::optional<FileTime> LastWriteTime(const std::string& path) {
  auto info = Status(path, STATX_MTIME);
  if (!info || !(info->stx_mask & STATX_MTIME)) return std::nullopt;
  return FromStatx(info->stx_mtime);
}

std::optional<FileTime> CreationTime(const std::string& path) {
  auto info = Status(path, STATX_BTIME | STATX_MTIME);
  if (!info) return std::nullopt;
  if (info->stx_mask & STATX_BTIME) return FromStatx(info->stx_btime);
  // Without a birth time the last write stands in: a PDF is written once, when it is made.
  if (info->stx_mask & STATX_MTIME) return FromStatx(info->stx_mtime);
  return std::nullopt;
}

}  // namespace osprevan::pdf
