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
  void RunWithScript(const std::string& text) {
    std::string error;
    ASSERT_TRUE(tlhost::ParseDialogScript(text, script_, error)) << error;
    host().dialogs().UseScript(&script_);
    LoadAndInitialize();
    ASSERT_TRUE(host().RunCommand("Osprevan"));
  }
  std::string Preferences() {
    std::ifstream in(dir_ / "pdfcomments.ini", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path dir_;
  tlhost::DialogScript script_;
};

TEST_F(DialogTest, WarningTickedAndConfirmedWritesThePreference) {
  RunWithScript("dialog warningdialog\n  check 2\n  press 3\nend\n");
  // Confirming goes on to the input-file dialog, which the script leaves unanswered.
  ASSERT_EQ(host().dialogs().history().size(), 2u);
  EXPECT_EQ(host().dialogs().history()[1].name, "inputfile");
  const tlhost::HostDialog& shown = host().dialogs().history()[0];
  EXPECT_EQ(shown.name, "warningdialog");
  EXPECT_EQ(shown.items[osprevan::ui::kWarningCheckBoxItem].state, 1);
  EXPECT_NE(shown.items[osprevan::ui::kWarningProductLineItem].label.find(
                "Tolvane で検索したり削除したりできます"),
            std::string::npos);
  EXPECT_EQ(shown.items[osprevan::ui::kWarningSourceChangeItem].label.find("%p"),
            std::string::npos);
  EXPECT_NE(shown.items[osprevan::ui::kWarningSourceChangeItem].label.find("Tolvane では"),
            std::string::npos);
  EXPECT_EQ(shown.items[5].label, "Tolvane 9 以上または Tolvane Brevis を使用して作成されました。");
  EXPECT_EQ(Preferences(), "DontShowInitialWarning=Yes\r\n");
}

TEST_F(DialogTest, WarningAnsweredNoWritesNothing) {
  RunWithScript("dialog warningdialog\n  check 2\n  press 4\nend\n");
  EXPECT_FALSE(fs::exists(dir_ / "pdfcomments.ini"));
  // Closed through its window: no answer either.
  host().UnloadClients();
  script_ = {};
  RunWithScript("dialog warningdialog\n  close\nend\n");
  EXPECT_FALSE(fs::exists(dir_ / "pdfcomments.ini"));
}

// A file only in the second directory is read; the write goes to the first, and keeps the
// report setting the user made.
TEST_F(DialogTest, PreferencesReadFromTheSecondDirectoryAreWrittenToTheFirst) {
  const fs::path second = dir_ / "host";
  fs::create_directories(second);
  std::ofstream(second / "pdfcomments.ini") << "DontShowInitialWarning=No\r\nWriteReport=Yes\r\n";
  host().engine().session().hostDir = second.string();
  RunWithScript("dialog warningdialog\n  check 2\n  press 3\nend\n");
  ASSERT_EQ(host().dialogs().history()[0].name, "warningdialog");
  EXPECT_EQ(Preferences(), "DontShowInitialWarning=Yes\r\nWriteReport=Yes\r\n");
}

TEST_F(DialogTest, AnotherClientNeverSeesTheWarningNorWritesTheFile) {
  LoadAndInitialize().Notify(tolvane::NOTE_CLIENT_CALL, 0, "/tmp/none.pdf", 0);
  EXPECT_TRUE(host().dialogs().history().empty());
  EXPECT_FALSE(fs::exists(dir_ / "pdfcomments.ini"));
}

TEST_F(DialogTest, BrevisHostGetsItsOwnLineExpanded) {
  SetSession(17, "Tolvane Brevis");
  RunWithScript("dialog warningdialog\n  press 4\nend\n");
  ASSERT_EQ(host().dialogs().history().size(), 1u);
  EXPECT_NE(host().dialogs().history()[0].items[osprevan::ui::kWarningProductLineItem].label.find(
                "Tolvane Brevis で検索できます"),
            std::string::npos);
}

TEST_F(DialogTest, ItemZeroOfTheSummaryIsTheHeadline) {
  tlhost::ClientConnection& client = LoadAndInitialize();
  ObjectId dialog = 0, item = 0;
  ASSERT_EQ(host().dialogs().Open(client, "smry", dialog), 0);
  ASSERT_EQ(host().dialogs().Item(dialog, 0, item), 0);
  tlhost::Value label;
  ASSERT_EQ(host().dialogs().GetProp(item, P_LABEL, label), 0);
  EXPECT_EQ(label.s, "読み込み後に誤配置されているか、読み込みに失敗した注釈があります。");
  ASSERT_EQ(host().dialogs().Item(dialog, 15, item), 0);
  ASSERT_EQ(host().dialogs().GetProp(item, P_LABEL, label), 0);
  EXPECT_EQ(label.s, "0");  // the counter label, not the etched line
  EXPECT_EQ(host().dialogs().Item(dialog, 33, item), ERR_BAD_VALUE);
  EXPECT_EQ(host().dialogs().Open(client, "nosuchdialog", dialog), ERR_NOT_FOUND);
}

TEST(DialogScript, MalformedScriptsAreRefusedWithTheirLine) {
  tlhost::DialogScript script;
  std::string error;
  EXPECT_FALSE(tlhost::ParseDialogScript("press 1\n", script, error));
  EXPECT_EQ(error, "line 1: \"press\" outside a dialog");
  EXPECT_FALSE(tlhost::ParseDialogScript("dialog a\n  press x\nend\n", script, error));
  EXPECT_EQ(error, "line 2: press needs an item number");
  EXPECT_FALSE(tlhost::ParseDialogScript("dialog a\n  press 1\n", script, error));
  EXPECT_FALSE(tlhost::ParseDialogScript("alert maybe\n", script, error));
  ASSERT_TRUE(tlhost::ParseDialogScript(
      "# answers\nalert yes\nfile /tmp/a b.pdf\ndialog inputfile\n  text 3  spaced \n"
      "  choose 11\n  press 1\nend\n",
      script, error));
  EXPECT_EQ(script.chosenFiles[0], "/tmp/a b.pdf");
  ASSERT_EQ(script.dialogs.size(), 1u);
  EXPECT_EQ(script.dialogs[0].actions[0].text, " spaced ");  // typed as it stands
  EXPECT_EQ(script.dialogs[0].actions.size(), 3u);
}

}  // namespace
}  // namespace osprevan::testing

namespace osprevan::testing {
namespace {

TEST_F(DialogTest, TerminalDriverShowsTheDialogAndTakesActions) {
  std::istringstream in("check 2\nfrobnicate\npress 3\n");
  std::ostringstream out;
  host().dialogs().UseTerminal(&in, &out);
  LoadAndInitialize();
  ASSERT_TRUE(host().RunCommand("Osprevan"));
  const std::string screen = out.str();
  EXPECT_NE(screen.find("=== Ondrel Palisto から注釈を読み込む (warningdialog) ==="),
            std::string::npos);
  EXPECT_NE(screen.find("[2] [ ] 次回から表示しない(&D)"), std::string::npos);
  EXPECT_NE(screen.find("[2] [x] 次回から表示しない(&D)"), std::string::npos);
  EXPECT_NE(screen.find("[3] <はい(&Y)>"), std::string::npos);
  EXPECT_NE(screen.find("Not understood: frobnicate"), std::string::npos);
  EXPECT_EQ(Preferences(), "DontShowInitialWarning=Yes\r\n");
}

TEST_F(DialogTest, RefusedPdfLibraryInitialisationEndsSilently) {
  host().engine().session().pdfLibraryInit = "not a number";
  RunWithScript("");
  EXPECT_TRUE(host().recorder().dialogsOpened.empty());
  EXPECT_TRUE(host().recorder().alerts.empty());
}

}  // namespace
}  // namespace osprevan::testing

namespace osprevan::testing {
namespace {

// The edition flag that expands "%p" ignores letter case; the warning's choice of its line
// compares the product name exactly.
TEST_F(DialogTest, EditionNameInAnyCaseExpandsButPicksTheStandardLine) {
  for (const char* product : {"TOLVANE BREVIS", "tolvane brevis", "Tolvane BREVIS"}) {
    SCOPED_TRACE(product);
    SetSession(17, product);
    script_ = {};
    RunWithScript("dialog warningdialog\n  press 4\nend\n");
    const auto& history = host().dialogs().history();
    ASSERT_FALSE(history.empty());
    const std::string line = history.back().items[osprevan::ui::kWarningProductLineItem].label;
    EXPECT_NE(line.find("Tolvane Brevis で検索したり削除したりできます"), std::string::npos);
    host().UnloadClients();
    host().ui() = tlhost::UiRegistry();
  }
}

}  // namespace
}  // namespace osprevan::testing
