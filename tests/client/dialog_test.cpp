// The first-use warning as the import command shows it, and the preference it writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/dialogs/dialog_script.h"
#include "plugin_host_fixture.h"
#include "ui/warning_dialog_items.h"

namespace osprevan::testing {
namespace {

using namespace tolvane;
namespace fs = std::filesystem;

class DialogTest : public PluginHostTest {
 protected:
  void SetUp() override {
    PluginHostTest::SetUp();
    dir_ = fs::temp_directory_path() / ("osprevan_dialogs_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    host().engine().session().userDir = dir_.string();
    host().engine().session().activeDocument = host().engine().NewDocument("/tmp/ch1.tlv");
  }
  void TearDown() override {
    PluginHostTest::TearDown();
    fs::remove_all(dir_);
  }
  // Runs the import command with a freshly loaded plug-in, the dialogs answered by `text`.
  void RunWithScript(const std::string& text) {
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
    std::string error;
    script_ = {};
    ASSERT_TRUE(tlhost::ParseDialogScript(text, script_, error)) << error;
    host().dialogs().UseScript(&script_);
    LoadAndInitialize();
    ASSERT_TRUE(host().RunCommand("Osprevan"));
  }
  std::string Preferences() {
    std::stringstream text;
    text << std::ifstream(dir_ / "pdfcomments.ini", std::ios::binary).rdbuf();
    return text.str();
  }
  std::string ProductLine() {
    const auto& history = host().dialogs().history();
    return history.empty() ? "" : history.back().items[ui::kWarningProductLineItem].label;
  }
  fs::path dir_;
  tlhost::DialogScript script_;
};

// Ticked and confirmed, the warning is not shown again: the preference is written and the
// command goes on to the input-file dialog. A file only in the host's directory is read, and the
// write goes to the user's, keeping the report setting the user made there.
TEST_F(DialogTest, WarningTickedAndConfirmedWritesThePreference) {
  const fs::path hostDir = dir_ / "host";
  fs::create_directories(hostDir);
  std::ofstream(hostDir / "pdfcomments.ini") << "DontShowInitialWarning=No\r\nWriteReport=Yes\r\n";
  host().engine().session().hostDir = hostDir.string();
  RunWithScript("dialog warningdialog\n  check 2\n  press 3\nend\n");
  ASSERT_EQ(host().dialogs().history().size(), 2u);
  EXPECT_EQ(host().dialogs().history()[0].name, "warningdialog");
  EXPECT_EQ(host().dialogs().history()[1].name, "inputfile");
  EXPECT_EQ(Preferences(), "DontShowInitialWarning=Yes\r\nWriteReport=Yes\r\n");
}

// Answered no, or closed through its window, the warning writes nothing; another client's call
// never shows it.
TEST_F(DialogTest, WarningNotConfirmedWritesNothing) {
  for (const char* script : {"dialog warningdialog\n  check 2\n  press 4\nend\n",
                             "dialog warningdialog\n  check 2\n  close\nend\n"}) {
    const size_t shown = host().dialogs().history().size();
    RunWithScript(script);
    EXPECT_EQ(host().dialogs().history().size(), shown + 1) << script;
    EXPECT_FALSE(fs::exists(dir_ / "pdfcomments.ini")) << script;
  }
  host().UnloadClients();
  LoadAndInitialize().Notify(tolvane::NOTE_CLIENT_CALL, 0, "/tmp/none.pdf", 0);
  EXPECT_EQ(host().dialogs().history().size(), 2u);
  EXPECT_FALSE(fs::exists(dir_ / "pdfcomments.ini"));
}

// "%p" becomes the edition's product, whatever the letter case of the host's name; the line
// that says what can be done with the comments is chosen by the exact name.
TEST_F(DialogTest, ProductLineFollowsTheEdition) {
  const std::pair<const char*, const char*> cases[] = {
      {"Tolvane", "Tolvane で検索したり削除したりできます"},
      {"Tolvane Brevis", "Tolvane Brevis で検索できます"},
      {"TOLVANE BREVIS", "Tolvane Brevis で検索したり削除したりできます"},
      {"tolvane brevis", "Tolvane Brevis で検索したり削除したりできます"},
  };
  for (const auto& [product, line] : cases) {
    SCOPED_TRACE(product);
    SetSession(17, product);
    RunWithScript("dialog warningdialog\n  press 4\nend\n");
    EXPECT_NE(ProductLine().find(line), std::string::npos) << ProductLine();
    EXPECT_EQ(ProductLine().find("%p"), std::string::npos);
  }
}

}  // namespace
}  // namespace osprevan::testing
