// Replacing the writer's file: what a process killed between the steps leaves behind, and what
// the new file keeps of the old one.
#include "host/engine/file_replace.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "host/engine/document_lock.h"
#include "tests/host/engine/fixture.h"
#include "tolvane/numbers.h"

namespace tlhost {
namespace {

namespace fs = std::filesystem;

class FileReplaceTest : public ::testing::Test {
 protected:
  static std::string Read(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
  }

  const testing::ScratchDir scratch_;
  const fs::path dir_ = scratch_.path();
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
      FileProblem error;
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
  FileProblem error;
  ASSERT_EQ(WriteFileReplacing(path_.string(), kNew, error), tolvane::ERR_NONE)
      << Diagnostic(error);
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not written over
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);

  // A file its owner may not write is left alone, whoever the process is.
  ASSERT_EQ(chmod(path_.c_str(), 0444), 0);
  EXPECT_EQ(WriteFileReplacing(path_.string(), kOld, error), tolvane::ERR_READ_ONLY);
  EXPECT_EQ(error.cause, FileCause::ReadOnlyFile) << Diagnostic(error);
  EXPECT_TRUE(Read(path_) == kNew);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The names left in the folder besides `keep`.
std::vector<std::string> Others(const fs::path& dir, const std::set<std::string>& keep) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    if (!keep.count(name)) names.push_back(name);
  }
  return names;
}

TEST_F(FileReplaceTest, ALinkStaysALinkAndItsLastTargetIsReplaced) {
  fs::create_directories(dir_ / "real");
  const fs::path target = dir_ / "real" / "doc.tlv";
  std::ofstream(target, std::ios::binary) << kOld;
  fs::create_symlink("real/doc.tlv", dir_ / "one");
  fs::create_symlink("one", dir_ / "two");
  for (const char* link : {"one", "two"}) {
    SCOPED_TRACE(link);
    FileProblem error;
    ASSERT_EQ(WriteFileReplacing((dir_ / link).string(), kNew + link, error), tolvane::ERR_NONE)
        << Diagnostic(error);
    EXPECT_TRUE(fs::is_symlink(dir_ / "one") && fs::is_symlink(dir_ / "two"));
    EXPECT_TRUE(Read(target) == kNew + link);
    EXPECT_EQ(Others(dir_ / "real", {"doc.tlv"}), std::vector<std::string>{});
  }
}

TEST_F(FileReplaceTest, WhatIsNoRegularFileIsNeverReplaced) {
  ASSERT_EQ(mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  fs::create_directories(dir_ / "folder");
  const struct {
    const char* name;
    FileCause cause;
  } cases[] = {{"fifo", FileCause::NotARegularFile}, {"folder", FileCause::IsAFolder}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileProblem problem;
    const std::string path = (dir_ / c.name).string();
    EXPECT_EQ(WriteFileReplacing(path, kNew, problem), tolvane::ERR_FILE_WRITE);
    EXPECT_EQ(problem.cause, c.cause) << Diagnostic(problem);
    EXPECT_EQ(problem.path, path);
    EXPECT_FALSE(fs::is_regular_file(dir_ / c.name));
    EXPECT_EQ(Others(dir_, {"fifo", "folder"}), std::vector<std::string>{});
  }
}

// A failed system call is carried as its error number, for the caller to word.
TEST_F(FileReplaceTest, AFailedSystemCallCarriesItsErrorNumber) {
  FileProblem problem;
  const std::string path = (dir_ / "none" / "doc.tlv").string();
  EXPECT_EQ(WriteFileReplacing(path, kNew, problem), tolvane::ERR_FILE_WRITE);
  EXPECT_EQ(problem.cause, FileCause::System) << Diagnostic(problem);
  EXPECT_EQ(problem.systemError, ENOENT);
  EXPECT_EQ(problem.path, path);
  // A success leaves no problem of an earlier call behind.
  EXPECT_EQ(WriteFileReplacing(path_.string(), kNew, problem), tolvane::ERR_NONE);
  EXPECT_FALSE(problem) << Diagnostic(problem);
}

TEST_F(FileReplaceTest, AFileAnotherProgramSavedMeanwhileStays) {
  std::ofstream(path_, std::ios::binary) << kOld;
  const std::optional<FileStamp> read = StampOf(path_.string());
  ASSERT_TRUE(read);
  // The other program saves as this one does: a new file renamed into place.
  std::ofstream(dir_ / "theirs", std::ios::binary) << "theirs";
  fs::rename(dir_ / "theirs", path_);
  FileProblem problem;
  EXPECT_EQ(WriteFileReplacing(path_.string(), kNew, problem, nullptr, read),
            tolvane::ERR_FILE_WRITE);
  EXPECT_EQ(problem.cause, FileCause::ChangedOnDisk) << Diagnostic(problem);
  EXPECT_EQ(Read(path_), "theirs");
  EXPECT_EQ(Others(dir_, {"doc.tlv"}), std::vector<std::string>{});
  // Unchanged since it was read, it is replaced.
  EXPECT_EQ(WriteFileReplacing(path_.string(), kNew, problem, nullptr, StampOf(path_.string())),
            tolvane::ERR_NONE);
}

TEST_F(FileReplaceTest, TheTemporariesOfProcessesThatNoLongerRunAreRemoved) {
  std::ofstream(path_, std::ios::binary) << kOld;
  const pid_t gone = fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) _exit(0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string abandoned = ".doc.tlv.tolvane-" + std::to_string(gone) + "-7.tmp";
  const std::string running = ".doc.tlv.tolvane-" + std::to_string(getppid()) + "-7.tmp";
  const std::string another = ".other.tlv.tolvane-" + std::to_string(gone) + "-7.tmp";
  for (const std::string& name : {abandoned, running, another})
    std::ofstream(dir_ / name) << "part";
  FileProblem error;
  ASSERT_EQ(WriteFileReplacing(path_.string(), kNew, error), tolvane::ERR_NONE)
      << Diagnostic(error);
  std::vector<std::string> left = Others(dir_, {"doc.tlv"});
  std::sort(left.begin(), left.end());
  std::vector<std::string> expected = {running, another};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

TEST_F(FileReplaceTest, ASecondLockWaitsNamesTheHolderAndRefusesAfterItsLimit) {
  std::ofstream(path_, std::ios::binary) << kOld;
  FileProblem problem;
  const std::unique_ptr<DocumentLock> held = DocumentLock::Acquire(path_.string(), {}, problem);
  ASSERT_TRUE(held) << Diagnostic(problem);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    pid_t told = -1;
    FileProblem refused;
    const LockWait wait{0.1, [&](pid_t holder) { told = holder; }};
    const bool locked = DocumentLock::Acquire(path_.string(), wait, refused) != nullptr;
    _exit(!locked && told == getppid() && refused.cause == FileCause::Locked &&
                  refused.holder == getppid() && refused.path == path_.string()
              ? 0
              : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
}  // namespace tlhost
