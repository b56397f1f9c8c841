#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/netlib/net_lib.h"

namespace netlib {
namespace {

namespace fs = std::filesystem;

class NetLibTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("netlib_test_" + std::to_string(::getpid()));
    fs::create_directories(root_ / "mount/server/share/dir");
    std::ofstream(root_ / "mount/server/share/dir/review.pdf") << "%PDF-1.7\n";
    SetConfig({(root_ / "mount").string(), (root_ / "cache").string()});
  }
  void TearDown() override { fs::remove_all(root_); }
  fs::path root_;
};

TEST_F(NetLibTest, RecognisesUncPaths) {
  EXPECT_TRUE(IsNetworkPath("\\\\server\\share\\dir\\review.pdf"));
  EXPECT_TRUE(IsNetworkPath("//server/share/dir/review.pdf"));
  EXPECT_FALSE(IsNetworkPath("/local/review.pdf"));
  EXPECT_FALSE(IsNetworkPath("\\\\"));
  EXPECT_FALSE(IsNetworkPath("///x"));
}

TEST_F(NetLibTest, FetchCopiesIntoTheCacheAndTheCacheAnswersLater) {
  std::string local;
  EXPECT_FALSE(CachedLocalCopy("\\\\server\\share\\dir\\review.pdf", local));
  ASSERT_TRUE(FetchLocalCopy("\\\\server\\share\\dir\\review.pdf", local));
  EXPECT_EQ(fs::path(local), root_ / "cache/server/share/dir/review.pdf");
  std::ifstream copy(local);
  std::string first;
  std::getline(copy, first);
  EXPECT_EQ(first, "%PDF-1.7");
  fs::remove(root_ / "mount/server/share/dir/review.pdf");
  EXPECT_FALSE(FetchLocalCopy("//server/share/dir/review.pdf", local));
  ASSERT_TRUE(CachedLocalCopy("//server/share/dir/review.pdf", local));
}

TEST_F(NetLibTest, PathsClimbingOutOfTheShareAreRefused) {
  std::string local;
  EXPECT_FALSE(FetchLocalCopy("//server/share/../../../etc/passwd", local));
  EXPECT_FALSE(CachedLocalCopy("//server/../x", local));
  EXPECT_FALSE(FetchLocalCopy("/not/a/network/path", local));
}

}  // namespace
}  // namespace netlib
