// The summary dialog as the host runs it, and the file written for another client.
#include "ui/summary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "apply/summary_file_name.h"
#include "host/dialogs/dialog_script.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "tests/apply/in_process_plugin.h"
#include "ui/summary_dialog_items.h"

namespace osprevan::ui {
namespace {

namespace fs = std::filesystem;
using namespace apply;  // the rows and columns of the counts
using support::UiString;

// The built plug-in stands as the module for its string table and the "SMRY" template.
class SummaryTest : public InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    fs::create_directories(dir_ / "user");
    host_.engine().session().userDir = (dir_ / "user").string();
  }
  void TearDown() override {
    InProcessPluginTest::TearDown();
    fs::remove_all(dir_);
  }
  // Another client's import, whose PDF is `caller` in the test folder (none when empty).
  void CalledWith(const std::string& caller) {
    target_ = {true, std::nullopt, caller.empty() ? "" : (dir_ / caller).string()};
  }
  // The dialog's items after ShowSummary, its OK pressed.
  std::vector<tlhost::DialogItemState> Shown(const OutcomeCounters& counters,
                                             const ImportNotices& notices = {}) {
    tlhost::DialogScript script;
    std::string error;
    EXPECT_TRUE(tlhost::ParseDialogScript("dialog smry\n  press 3\nend\n", script, error));
    host_.dialogs().UseScript(&script);
    EXPECT_TRUE(ShowSummary(target_, counters, notices).ok());
    host_.dialogs().UseScript(nullptr);
    if (host_.dialogs().history().empty()) return {};
    return host_.dialogs().history().back().items;
  }
  std::string File(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  SummaryTarget target_;  // the menu's user, until CalledWith
  fs::path dir_ = fs::temp_directory_path() / ("osprevan_summary_" + std::to_string(::getpid()));
};

// Each count in its own cell, and the headline says whether anything went wrong.
TEST_F(SummaryTest, DialogShowsEveryCountAndTheHeadline) {
  const struct {
    int row, column, count, headline;  // every other count stays 0
  } cases[] = {{SummaryRow(pdf::Highlight), kColumnSuccessful, 6, support::MSG_ALL_IMPORTED},
               {SummaryRow(pdf::Underline), kColumnMisplaced, 1, support::MSG_SOME_MISPLACED},
               {SummaryRow(pdf::Insert), kColumnFailed, 2, support::MSG_SOME_MISPLACED},
               {SummaryRow(pdf::Delete), kColumnMisplaced, -1, support::MSG_ALL_IMPORTED}};
  const int labels[kOutcomeRows] = {support::MSG_KIND_INSERT,    support::MSG_KIND_DELETE,
                                    support::MSG_KIND_REPLACE,   support::MSG_KIND_NOTE,
                                    support::MSG_KIND_UNDERLINE, support::MSG_KIND_HIGHLIGHT};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
    OutcomeCounters counters;
    counters.counts[c.row][c.column] = c.count;
    const auto items = Shown(counters);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[kSummaryHeadlineItem].label, UiString(c.headline));
    for (int r = 0; r < kOutcomeRows; ++r) {
      EXPECT_EQ(items[kSummaryRowLabelItems[r]].label, UiString(labels[r]));
      for (int col = 0; col < kOutcomeColumns; ++col) {
        const int expected = r == c.row && col == c.column ? c.count : 0;
        EXPECT_EQ(items[SummaryCountItem(r, col)].label, " " + std::to_string(expected));
      }
    }
  }
}

// Another client reads the file, so its layout is fixed byte for byte; no dialog is shown. The
// import's notices follow the counts, one line each, here and in the dialog; a notice for the
// report only shows in neither.
TEST_F(SummaryTest, AnotherClientGetsTheFileByteForByteWithTheNotices) {
  const ImportNotices notices = {{"first line", "first"}, {"", "reported only"}, {"second", ""}};
  EXPECT_EQ(Shown(OutcomeCounters{}, notices).at(kSummaryNoticeItem).label, "first line\nsecond");
  const size_t dialogs = host_.recorder().dialogsOpened.size();
  CalledWith("ch1.pdf");
  OutcomeCounters counters;
  counters.counts[SummaryRow(pdf::Insert)][kColumnSuccessful] = 12;
  counters.counts[SummaryRow(pdf::Insert)][kColumnFailed] = 3;
  counters.counts[SummaryRow(pdf::Replace)][kColumnMisplaced] = 1000;
  counters.counts[SummaryRow(pdf::Highlight)][kColumnSuccessful] = 123456789;
  EXPECT_TRUE(ShowSummary(target_, counters, notices).ok());
  EXPECT_EQ(host_.recorder().dialogsOpened.size(), dialogs);
  // Widths count bytes: a two-character label is 6 bytes, a five-character one fills 11.
  EXPECT_EQ(File("ch1.smry"),
            "概要 :\t成功    誤配置  失敗\n"
            "     挿入       12           0         3\n"
            "     削除        0           0         0\n"
            "     置換        0        1000         0\n"
            "ノート注釈        0           0         0\n"
            "     下線        0           0         0\n"
            "ハイライト123456789           0         0\n"
            "first line\nsecond\n");
}

TEST_F(SummaryTest, FileNamesFollowTheCallersPdf) {
  fs::create_directories(dir_ / "rev.2");
  const std::pair<std::string, std::string> cases[] = {
      {"ch1.pdf", "ch1.smry"},
      {"review", "review.smry"},
      {"rev.2/review", "rev.2/review.smry"},  // a dot in a folder is no extension
      {"", "user/Osprevan.smry"},
      {"absent/ch1.pdf", "user/Osprevan.smry"},  // cannot be written there
  };
  for (const auto& [caller, expected] : cases) {
    SCOPED_TRACE(caller);
    CalledWith(caller);
    EXPECT_TRUE(WriteSummaryFile(target_, OutcomeCounters{}).ok());
    EXPECT_TRUE(fs::remove(dir_ / expected));
  }
  EXPECT_EQ(SummaryFileName("D:\\rev.2\\review"), "D:\\rev.2\\review.smry");
  // Without a caller path or a user directory there is nowhere to write.
  CalledWith("");
  host_.engine().session().userDir.clear();
  EXPECT_FALSE(WriteSummaryFile(target_, OutcomeCounters{}).ok());
}

}  // namespace
}  // namespace osprevan::ui
