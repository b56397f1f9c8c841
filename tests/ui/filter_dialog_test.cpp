#include "ui/filter_dialog.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_comment.h"
#include "platform/win/dialog_input.h"
#include "platform/win/native_dialog.h"
#include "platform/win/utf16.h"
#include "tests/pdf/filter_test_support.h"
#include "tests/platform/win/dialog_fixture.h"
#include "ui/filter_dialog_controls.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

namespace osprevan::ui {
namespace {

using pdf::testing::DateText;
using pdf::testing::kAnonymous;
using pdf::testing::SetDate;
using pdf::testing::UtcSeconds;
using win::HWND;
using win::ListClick;
using Action = std::function<void(HWND dialog)>;

// The user's actions.
Action Click(int id) {
  return [id](HWND dialog) { EXPECT_TRUE(win::ClickButton(win::GetDlgItem(dialog, id))) << id; };
}
Action ClickEntry(int list, std::string text, ListClick click) {
  return [=](HWND dialog) {
    const HWND handle = win::GetDlgItem(dialog, list);
    const int index = win::FindListEntry(handle, win::Utf8ToWide(text));
    ASSERT_GE(index, 0) << text;
    EXPECT_TRUE(win::ClickListEntry(handle, index, click));
  };
}
Action ClickEntry(int list, int index, ListClick click) {
  return [=](HWND dialog) {
    EXPECT_TRUE(win::ClickListEntry(win::GetDlgItem(dialog, list), index, click));
  };
}
// A date "YYYY/MM/DD HH:MM:SS" in the picker, or none for nullptr.
Action Pick(int picker, const char* date) {
  return [=](HWND dialog) {
    win::SYSTEMTIME t;
    if (date) {
      ASSERT_EQ(std::sscanf(date, "%hu/%hu/%hu %hu:%hu:%hu", &t.wYear, &t.wMonth, &t.wDay, &t.wHour,
                            &t.wMinute, &t.wSecond),
                6)
          << date;
    }
    EXPECT_TRUE(win::PickDate(win::GetDlgItem(dialog, picker), date ? &t : nullptr));
  };
}

// The criteria's values, for telling whether a dialog changed them.
struct CriteriaValues {
  uint32_t kindMask, markedStateMask, reviewStateMask, migrationStateMask;
  pdf::AuthorSet acceptedAuthors;
  std::string startDate, endDate;
  bool dateFilterOn;
  bool operator==(const CriteriaValues&) const = default;
};

void PrintTo(const CriteriaValues& v, std::ostream* out) {
  *out << ::testing::PrintToString(std::tie(v.kindMask, v.markedStateMask, v.reviewStateMask,
                                            v.migrationStateMask, v.acceptedAuthors, v.startDate,
                                            v.endDate, v.dateFilterOn));
}

CriteriaValues ValuesOf(const pdf::FilterCriteria& c) {
  return {c.kindMask,        c.markedStateMask,     c.reviewStateMask,   c.migrationStateMask,
          c.acceptedAuthors, DateText(c.startDate), DateText(c.endDate), c.dateFilterOn};
}

const pdf::AuthorSet kFound = {kAnonymous, "Reviewer", "reviewer", "佐藤"};

// The plug-in's code linked into the test with the host in the same process. The client is
// linked as the built plug-in module, whose resources hold the dialog's template.
class FilterDialogTest : public pdf::testing::FilterLibraryTest {
 protected:
  void SetUp() override {
    FilterLibraryTest::SetUp();
    if (HasFatalFailure()) return;
    host_ = std::make_unique<tlhost::Host>();
    const int index = host_->LinkClient(T_ApiClientInit, plugin_, clientPath_);
    ASSERT_EQ(host_->client(index).initResult(), 0);
    owner_ = host_->mainWindow();
    previousDriver_ = win::SetDialogDriver(&user_);
  }
  void TearDown() override {
    win::SetDialogDriver(previousDriver_);
    host_.reset();
    FilterLibraryTest::TearDown();
  }

  // Criteria as an import prepares them, over the authors that the scan found; the migration
  // states and bits the dialog does not show are set, so that a change to them shows.
  void Prepare(pdf::FilterCriteria& criteria) {
    criteria.knownAuthors = kFound;
    criteria.kindMask = pdf::kAllCommentKinds;
    criteria.markedStateMask = pdf::kAllMarkedStates | 0x100u;
    criteria.reviewStateMask = pdf::kAllReviewStates;
    criteria.migrationStateMask = pdf::MigrationConfirmed;
    criteria.acceptedAuthors = kFound;
    criteria.dateFilterOn = true;
    SetDate(criteria.startDate, UtcSeconds(2024, 2, 29, 13, 14, 15));
    SetDate(criteria.endDate, UtcSeconds(2024, 3, 31, 8, 0, 0));
  }

  // Runs the dialog with the user's actions, one a turn (then it is cancelled, as for a user
  // who walks away); all must have been played, and the owner is usable again afterwards.
  int32_t Run(pdf::FilterCriteria& criteria, const std::vector<Action>& actions) {
    user_.steps.assign(actions.begin(), actions.end());
    const int32_t result = RunFilterDialog(criteria, owner_);
    EXPECT_TRUE(user_.steps.empty());
    EXPECT_TRUE(win::IsWindowEnabled(owner_));
    return result;
  }

  std::string clientPath_ = OSPREVAN_PLUGIN_PATH;
  std::unique_ptr<tlhost::Host> host_;
  HWND owner_ = nullptr;
  win::testing::StepUser user_;
  win::DialogDriver* previousDriver_ = nullptr;
};

// What reaches the criteria. Continue (button or Return) copies every choice into them and
// nothing else: the migration states and bits the dialog does not show stay; an accepted author
// the scan did not find (anonymous among them) is dropped; a picker without a date turns the
// date test off and leaves its date, and dates never turn on a test the input step left off.
// However the dialog is cancelled, after every control changed, the criteria stay as they were.
TEST_F(FilterDialogTest, WhatReachesTheCriteria) {
  const Action continueButton = Click(kFilterContinueButton);
  const std::vector<Action> choices = {ClickEntry(kFilterAuthorList, "Reviewer", ListClick::Only),
                                       ClickEntry(kFilterAuthorList, "佐藤", ListClick::Select),
                                       Click(kFilterDeselectAllKinds),
                                       ClickEntry(kFilterKindList, 0, ListClick::Select),
                                       ClickEntry(kFilterKindList, 2, ListClick::Select),
                                       ClickEntry(kFilterReviewStateList, 0, ListClick::Only),
                                       ClickEntry(kFilterReviewStateList, 2, ListClick::Select),
                                       Click(kFilterMarkedCheck),
                                       Pick(kFilterStartPicker, "2024/01/02 03:04:05"),
                                       Pick(kFilterEndPicker, "2024/12/31 23:59:59")};
  const auto then = [&](Action last) {
    std::vector<Action> actions = choices;
    if (last) actions.push_back(last);
    return actions;
  };
  const auto datesThenNone = [&](int cleared) {
    return std::vector<Action>{Pick(kFilterStartPicker, "2023/03/01 00:00:00"),
                               Pick(kFilterEndPicker, "2023/03/31 00:00:00"),
                               Pick(cleared, nullptr), continueButton};
  };
  const auto nothing = [](auto&) {};
  const pdf::AuthorSet named = {"Reviewer", "佐藤"};
  const auto chosen = [&](CriteriaValues& v) {
    v = {pdf::Insert | pdf::Replace,
         pdf::Unmarked | 0x100u,
         pdf::None | pdf::Rejected,
         pdf::MigrationConfirmed,
         named,
         "2024/01/02 03:04:05",
         "2024/12/31 23:59:59",
         true};
  };
  const auto narrowed = [](pdf::FilterCriteria& c) {
    c.acceptedAuthors = {"reviewer", "佐藤", "鈴木"};  // 鈴木 is no author of this PDF
    c.kindMask = pdf::Delete | pdf::Highlight | pdf::Note;
    c.reviewStateMask = pdf::Accepted | pdf::Completed;
    c.markedStateMask = pdf::Marked;
  };
  const auto withoutUnknown = [](CriteriaValues& v) { v.acceptedAuthors = {"reviewer", "佐藤"}; };
  const auto noAnonymous = [&](pdf::FilterCriteria& c) { c.knownAuthors = named; };
  const auto onlyNamed = [&](CriteriaValues& v) { v.acceptedAuthors = named; };
  const auto dateTestOff = [](pdf::FilterCriteria& c) { c.dateFilterOn = false; };
  const int32_t go = hostlink::kAnswerContinue, stop = hostlink::kAnswerStop;
  const struct {
    const char* how;
    std::function<void(pdf::FilterCriteria&)> narrow;  // the criteria the dialog shows
    std::vector<Action> actions;
    int32_t answer;
    std::function<void(CriteriaValues&)> expect;  // the change to the criteria
  } rows[] = {
      {"choices, continue button", nothing, then(continueButton), go, chosen},
      {"defaults, Return", nothing, {win::PressEnter}, go, nothing},
      {"narrowed criteria shown and read back", narrowed, {continueButton}, go, withoutUnknown},
      {"anonymous not found", noAnonymous, {continueButton}, go, onlyNamed},
      {"no start", nothing, datesThenNone(kFilterStartPicker), go,
       [](CriteriaValues& v) { v.endDate = "2023/03/31 00:00:00", v.dateFilterOn = false; }},
      {"no end", nothing, datesThenNone(kFilterEndPicker), go,
       [](CriteriaValues& v) { v.startDate = "2023/03/01 00:00:00", v.dateFilterOn = false; }},
      {"date test left off", dateTestOff, {continueButton}, go, nothing},
      {"cancel button", nothing, then(Click(kFilterCancelButton)), stop, nothing},
      {"Escape", nothing, then(win::PressEscape), stop, nothing},
      {"no user", nothing, then(nullptr), stop, nothing},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    pdf::FilterCriteria criteria;
    Prepare(criteria);
    row.narrow(criteria);
    CriteriaValues expected = ValuesOf(criteria);
    row.expect(expected);
    EXPECT_EQ(Run(criteria, row.actions), row.answer);
    EXPECT_EQ(ValuesOf(criteria), expected);
  }
}

// A client path that names no loaded module: the dialog cannot be made, and the import goes on
// with the criteria unchanged.
class FilterDialogWithoutModuleTest : public FilterDialogTest {
 protected:
  FilterDialogWithoutModuleTest() { clientPath_ = "/nonexistent/libosprevan.so"; }
};

TEST_F(FilterDialogWithoutModuleTest, ImportGoesOnWithTheCriteriaUnchanged) {
  pdf::FilterCriteria criteria;
  Prepare(criteria);
  const CriteriaValues before = ValuesOf(criteria);
  user_.steps.push_back(Click(kFilterCancelButton));
  EXPECT_EQ(RunFilterDialog(criteria, owner_), hostlink::kAnswerContinue);
  EXPECT_EQ(user_.steps.size(), 1u);
  EXPECT_EQ(ValuesOf(criteria), before);
}

}  // namespace
}  // namespace osprevan::ui
