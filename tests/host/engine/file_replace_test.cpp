// Replacing the writer's file: what a process killed between the steps leaves behind, and what
// the new file keeps of the old one.
#include "host/engine/file_replace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tolvane/numbers.h"

namespace tlhost {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_); }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }

  const fs::path dir_ = fs::path(::testing::TempDir()) / ("replace_" + std::to_string(getpid()));
  const fs::path path_ = dir_ / "doc.tlv";
};

// Large enough that a file cut short on the way would show.
const std::string kOld(1 << 20, 'o');
const std::string kNew(1 << 20, 'n');

TEST_F(FileReplaceTest, AProcessKilledBetweenTheStepsLeavesTheOldFileOrTheNewOneWhole) {
  const struct {
    ReplaceStep killedAfter;
    const std::string& left;
  } cases[] = {{ReplaceStep::TemporaryWritten, kOld}, {ReplaceStep::Renamed, kNew}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.killedAfter));
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << kOld;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::string error;
      WriteFileReplacing(path_.string(), kNew, error, [&](ReplaceStep step) {
        if (step == c.killedAfter) _exit(0);
      });
      _exit(1);  // the step never came
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(Read(path_) == c.left);
  }
}

TEST_F(FileReplaceTest, TheNewFileKeepsTheOldOnesModeOwnerAndGroup) {
  std::ofstream(path_, std::ios::binary) << kOld;
  ASSERT_EQ(chmod(path_.c_str(), 0640), 0);
  // Another owner can only be given by the superuser; anyone else keeps their own.
  if (geteuid() == 0) {
    ASSERT_EQ(chown(path_.c_str(), 65534, 65534), 0);
  }
  struct stat before {};
  ASSERT_EQ(stat(path_.c_str(), &before), 0);
  std::string error;
  ASSERT_EQ(WriteFileReplacing(path_.string(), kNew, error), tolvane::ERR_NONE) << error;
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not written over
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);

  // A file its owner may not write is left alone, whoever the process is.
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  EXPECT_EQ(WriteFileReplacing(path_.string(), kOld, error), tolvane::ERR_READ_ONLY);
  EXPECT_TRUE(Read(path_) == kNew);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace tlhost
