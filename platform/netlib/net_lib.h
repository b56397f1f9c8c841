// "NetLib", the host's network-file library: whether a path names a network location, and a
// local copy of such a file. Network paths are UNC-style ("\\server\share\dir\file" or
// "//server/share/dir/file"); they are resolved through a mount root, where each server
// appears as a folder, and copies are kept in a cache folder.
#pragma once

#include <string>

namespace netlib {

struct Config {
  std::string mountRoot;  // <mountRoot>/<server>/<share>/... is the network file
  std::string cacheDir;   // local copies: <cacheDir>/<server>/<share>/...
};

// Reads the configuration once from NETLIB_MOUNT_ROOT and NETLIB_CACHE_DIR; tests may set it.
const Config& CurrentConfig();
void SetConfig(const Config& config);

bool IsNetworkPath(const std::string& path);

// Copies the network file into the cache and answers the local copy; false when the file
// cannot be reached or copied.
bool FetchLocalCopy(const std::string& networkPath, std::string& localPath);

// A copy fetched earlier, if the cache holds one.
bool CachedLocalCopy(const std::string& networkPath, std::string& localPath);

}  // namespace netlib
