#include "platform/netlib/net_lib.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

namespace netlib {
namespace {

namespace fs = std::filesystem;

Config& Stored() {
  static Config config = [] {
    Config c;
    if (const char* root = std::getenv("NETLIB_MOUNT_ROOT")) c.mountRoot = root;
    if (const char* cache = std::getenv("NETLIB_CACHE_DIR")) c.cacheDir = cache;
    return c;
  }();
  return config;
}

// "server/share/rest" of a network path, with forward slashes; nothing for a local path or
// one that tries to climb out of its share.
std::optional<std::string> RelativePart(const std::string& path) {
  if (!IsNetworkPath(path)) return std::nullopt;
  std::string rest = path.substr(2);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  const fs::path relative = fs::path(rest).lexically_normal();
  if (relative.empty() || relative.is_absolute()) return std::nullopt;
  for (const fs::path& part : relative) {
    if (part == "..") return std::nullopt;
  }
  return relative.string();
}

}  // namespace

const Config& CurrentConfig() {
  return Stored();
}
void SetConfig(const Config& config) {
  Stored() = config;
}

bool IsNetworkPath(const std::string& path) {
  if (path.size() < 3) return false;
  const bool backslashes = path[0] == '\\' && path[1] == '\\';
  const bool slashes = path[0] == '/' && path[1] == '/';
  return (backslashes || slashes) && path[2] != '\\' && path[2] != '/';
}

bool FetchLocalCopy(const std::string& networkPath, std::string& localPath) {
  const auto relative = RelativePart(networkPath);
  const Config& config = Stored();
  if (!relative || config.mountRoot.empty() || config.cacheDir.empty()) return false;
  const fs::path source = fs::path(config.mountRoot) / *relative;
  const fs::path target = fs::path(config.cacheDir) / *relative;
  std::error_code error;
  if (!fs::is_regular_file(source, error)) return false;
  fs::create_directories(target.parent_path(), error);
  if (error) return false;
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, error);
  if (error) return false;
  localPath = target.string();
  return true;
}

bool CachedLocalCopy(const std::string& networkPath, std::string& localPath) {
  const auto relative = RelativePart(networkPath);
  const Config& config = Stored();
  if (!relative || config.cacheDir.empty()) return false;
  const fs::path cached = fs::path(config.cacheDir) / *relative;
  std::error_code error;
  if (!fs::is_regular_file(cached, error)) return false;
  localPath = cached.string();
  return true;
}

}  // namespace netlib
