// The summary dialog as the host runs it, and the file written for another client.
#include "ui/summary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/dialogs/dialog_script.h"
#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "hostlink/command_state.h"
#include "platform/win/module.h"
#include "support/message_ids.h"
#include "tests/support/expected_messages.h"
#include "ui/summary_dialog_items.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

namespace fs = std::filesystem;
using support::testing::kExpectedMessages;

class SummaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The built plug-in stands as the module for its string table and the "SMRY" template.
    module_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(module_, nullptr) << win::LastLoaderError();
    const int index = host_.LinkClient(T_ApiClientInit, module_, OSPREVAN_PLUGIN_PATH);
    ASSERT_EQ(host_.client(index).initResult(), 0);
    fs::create_directories(dir_ / "user");
    host_.engine().session().userDir = (dir_ / "user").string();
  }
  void TearDown() override {
    hostlink::Command() = {};
    host_.UnloadClients();
    if (module_) win::FreeLibrary(module_);
    fs::remove_all(dir_);
  }
  // Another client's import, whose PDF is `caller` in the test folder (none when empty).
  void CalledWith(const std::string& caller) {
    hostlink::Command().calledFromClient = 1;
    hostlink::Command().callerPdfPath = caller.empty() ? "" : (dir_ / caller).string();
  }

  win::HMODULE module_ = nullptr;
  tlhost::Host host_;
  fs::path dir_ = fs::temp_directory_path() / ("osprevan_summary_" + std::to_string(::getpid()));
};

TEST_F(SummaryTest, DialogShowsEveryCountAndTheHeadline) {
  struct Case {
    int row, column, count, headline;  // every other count stays 0
  };
  const Case cases[] = {{kRowHighlights, kColumnSuccessful, 6, 35},
                        {kRowUnderlines, kColumnMisplaced, 1, 36},
                        {kRowInsertions, kColumnFailed, 2, 36},
                        {kRowDeletions, kColumnMisplaced, -1, 35}};  // compared signed
  const int labels[kOutcomeRows] = {29, 30, 31, 34, 33, 32};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
    tlhost::DialogScript script;
    std::string error;
    ASSERT_TRUE(tlhost::ParseDialogScript("dialog smry\n  press 3\nend\n", script, error));
    host_.dialogs().UseScript(&script);
    OutcomeCounters counters;
    counters.counts[c.row][c.column] = c.count;
    EXPECT_TRUE(ShowSummary(counters).ok());
    ASSERT_FALSE(host_.dialogs().history().empty());
    const auto& items = host_.dialogs().history().back().items;
    EXPECT_EQ(items[kSummaryHeadlineItem].label, kExpectedMessages[c.headline]);
    for (int r = 0; r < kOutcomeRows; ++r) {
      EXPECT_EQ(items[kSummaryRowLabelItems[r]].label, kExpectedMessages[labels[r]]);
      for (int col = 0; col < kOutcomeColumns; ++col) {
        const int expected = r == c.row && col == c.column ? c.count : 0;
        EXPECT_EQ(items[SummaryCountItem(r, col)].label, " " + std::to_string(expected));
      }
    }
  }
}

TEST_F(SummaryTest, AnotherClientGetsTheFileByteForByteAndNoDialog) {
  CalledWith("ch1.pdf");
  OutcomeCounters counters;
  counters.counts[kRowInsertions][kColumnSuccessful] = 12;
  counters.counts[kRowInsertions][kColumnFailed] = 3;
  counters.counts[kRowReplacements][kColumnMisplaced] = 1000;
  counters.counts[kRowHighlights][kColumnSuccessful] = 123456789;
  EXPECT_TRUE(ShowSummary(counters).ok());
  EXPECT_TRUE(host_.recorder().dialogsOpened.empty());
  std::ifstream in(dir_ / "ch1.smry", std::ios::binary);
  // Widths count bytes: a two-character label is 6 bytes, a five-character one fills 11.
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
            "概要 :\t成功    誤配置  失敗\n"
            "     挿入       12           0         3\n"
            "     削除        0           0         0\n"
            "     置換        0        1000         0\n"
            "ノート注釈        0           0         0\n"
            "     下線        0           0         0\n"
            "ハイライト123456789           0         0\n");
}

// An import's notices stand after the counts, one line each, in the dialog and in the file;
// a notice for the report only shows in neither.
TEST_F(SummaryTest, NoticesFollowTheCounts) {
  const ImportNotices notices = {{"first line", "first"}, {"", "reported only"}, {"second", ""}};
  tlhost::DialogScript script;
  std::string error;
  ASSERT_TRUE(tlhost::ParseDialogScript("dialog smry\n  press 3\nend\n", script, error));
  host_.dialogs().UseScript(&script);
  EXPECT_TRUE(ShowSummary(OutcomeCounters{}, notices).ok());
  ASSERT_FALSE(host_.dialogs().history().empty());
  EXPECT_EQ(host_.dialogs().history().back().items[kSummaryNoticeItem].label, "first line\nsecond");

  CalledWith("ch1.pdf");
  EXPECT_TRUE(ShowSummary(OutcomeCounters{}, notices).ok());
  std::ifstream in(dir_ / "ch1.smry", std::ios::binary);
  const std::string file(std::istreambuf_iterator<char>(in), {});
  EXPECT_TRUE(file.ends_with("         0\nfirst line\nsecond\n")) << file;
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
    EXPECT_TRUE(WriteSummaryFile(OutcomeCounters{}).ok());
    EXPECT_TRUE(fs::remove(dir_ / expected));
  }
  EXPECT_EQ(SummaryFileName("D:\\rev.2\\review"), "D:\\rev.2\\review.smry");
  // Without a caller path or a user directory there is nowhere to write.
  CalledWith("");
  host_.engine().session().userDir.clear();
  EXPECT_FALSE(WriteSummaryFile(OutcomeCounters{}).ok());
}

}  // namespace
}  // namespace osprevan::ui
