#include "host/cli/scratch_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tlhost {
namespace {

namespace fs = std::filesystem;

// The id of a process that ran and is gone.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

class ScratchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "scratch-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path Folder(const std::string& name) {
    fs::create_directory(root_ / name);
    std::ofstream(root_ / name / "report.json") << "{}";
    return root_ / name;
  }

  fs::path root_;
};

// Only the folders of this user's processes that no longer run go; what merely looks like one,
// or a link that names another folder, stays with what it holds.
TEST_F(ScratchFolderTest, RemovesOnlyTheFoldersOfEndedProcesses) {
  const std::string ended = std::to_string(EndedProcess());
  const fs::path abandoned = Folder("tolvane-" + ended + "-a1B2c3");
  const struct {
    const char* why;
    fs::path path;
  } kept[] = {
      {"its process runs", Folder("tolvane-" + std::to_string(getppid()) + "-a1B2c3")},
      {"not six characters after the id", Folder("tolvane-" + ended + "-a1B2c")},
      {"no process id", Folder("tolvane-x" + ended + "-a1B2c3")},
      {"another program's", Folder("other-" + ended + "-a1B2c3")},
  };
  const fs::path target = Folder("kept-target");
  fs::create_directory_symlink(target, root_ / ("tolvane-" + ended + "-d4E5f6"));

  RemoveAbandonedScratchFolders(root_.string());

  EXPECT_FALSE(fs::exists(abandoned));
  for (const auto& folder : kept) EXPECT_TRUE(fs::exists(folder.path)) << folder.why;
  EXPECT_TRUE(fs::is_symlink(root_ / ("tolvane-" + ended + "-d4E5f6")));
  EXPECT_TRUE(fs::exists(target / "report.json"));
}

// A command's own folder is made under TMPDIR, names the process, and goes with the command;
// making it removes what a killed command left.
TEST_F(ScratchFolderTest, ACommandsFolderReplacesWhatAKilledOneLeft) {
  const fs::path abandoned = Folder("tolvane-" + std::to_string(EndedProcess()) + "-zZ9yY8");
  const char* previous = std::getenv("TMPDIR");
  const std::string saved = previous ? previous : "";
  setenv("TMPDIR", root_.c_str(), 1);
  std::string made;
  {
    ScratchFolder scratch;
    made = scratch.path();
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(fs::path(made).parent_path(), root_);
    EXPECT_EQ(
        fs::path(made).filename().string().rfind("tolvane-" + std::to_string(getpid()) + "-", 0),
        0u);
    EXPECT_FALSE(fs::exists(abandoned));
  }
  EXPECT_FALSE(fs::exists(made));
  if (previous)
    setenv("TMPDIR", saved.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

}  // namespace
}  // namespace tlhost
