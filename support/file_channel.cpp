#include "support/file_channel.h"

#include <sys/stat.h>
#include <unistd.h>

namespace osprevan::support {

bool FileChannel::Open(const std::string& path, const char* mode) {
  Close();
  file_ = std::fopen(path.c_str(), mode);
  return file_ != nullptr;
}

bool FileChannel::Write(const void* bytes, size_t size) {
  if (!file_) return false;
  return std::fwrite(bytes, 1, size, file_) == size;
}

bool FileChannel::ReadAll(std::string& out) {
  if (!file_) return false;
  out.clear();
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) out.append(buffer, n);
  return !std::ferror(file_);
}

bool FileChannel::Close() {
  if (!file_) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

bool IsReadableFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return access(path.c_str(), R_OK) == 0;
}

Status ReplaceFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  FileChannel file;
  if (!file.Open(temporary, "wb")) return Status::Failed("cannot create " + temporary);
  const bool written = file.Write(bytes);
  if (!file.Close() || !written) {
    std::remove(temporary.c_str());
    return Status::Failed("cannot write " + temporary);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return Status::Failed("cannot replace " + path);
  }
  return Status::Done();
}

}  // namespace osprevan::support
