#include "platform/netlib/net_lib.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace netlib {
namespace {

namespace fs = std::filesystem;

// A network PDF is read through its local copy: fetched into the cache, or the cache's copy
// once the share is gone; a path that climbs out of the share is refused.
TEST(NetLib, FetchCopiesIntoTheCacheAndTheCacheAnswersLater) {
  const fs::path root = fs::temp_directory_path() / ("netlib_test_" + std::to_string(::getpid()));
  fs::create_directories(root / "mount/server/share/dir");
  std::ofstream(root / "mount/server/share/dir/review.pdf") << "%PDF-1.7\n";
  SetConfig({(root / "mount").string(), (root / "cache").string()});
  for (const char* path : {"\\\\server\\share\\dir\\review.pdf", "//server/share/x"}) {
    EXPECT_TRUE(IsNetworkPath(path)) << path;
  }
  for (const char* path : {"/local/review.pdf", "\\\\", "///x"}) EXPECT_FALSE(IsNetworkPath(path));
  std::string local;
  EXPECT_FALSE(CachedLocalCopy("\\\\server\\share\\dir\\review.pdf", local));
  ASSERT_TRUE(FetchLocalCopy("\\\\server\\share\\dir\\review.pdf", local));
  EXPECT_EQ(fs::path(local), root / "cache/server/share/dir/review.pdf");
  std::string first;
  std::getline(std::ifstream(local), first);
  EXPECT_EQ(first, "%PDF-1.7");
  fs::remove(root / "mount/server/share/dir/review.pdf");
  EXPECT_FALSE(FetchLocalCopy("//server/share/dir/review.pdf", local));
  EXPECT_TRUE(CachedLocalCopy("//server/share/dir/review.pdf", local));
  EXPECT_FALSE(FetchLocalCopy("//server/share/../../../etc/passwd", local));
  EXPECT_FALSE(CachedLocalCopy("//server/../x", local));
  EXPECT_FALSE(FetchLocalCopy("/not/a/network/path", local));
  fs::remove_all(root);
}

}  // namespace
}  // namespace netlib
