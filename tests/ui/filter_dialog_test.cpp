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
#include "platform/win/button.h"
#include "platform/win/dialog_input.h"
#include "platform/win/list_box.h"
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

constexpr const char* kLongName =
    "A reviewer whose name is far too long to fit into the author list without scrolling sideways";

// Entry texts of a list, as UTF-8.
std::vector<std::string> Entries(HWND dialog, int list) {
  std::vector<std::string> out;
  const auto count = win::SendDlgItemMessage(dialog, list, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    const auto length = win::SendDlgItemMessage(dialog, list, win::LB_GETTEXTLEN, i, 0);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    win::SendDlgItemMessage(dialog, list, win::LB_GETTEXT, i,
                            reinterpret_cast<win::LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    out.push_back(win::WideToUtf8(text));
  }
  return out;
}

// "1" for each selected entry, "0" for the others.
std::string Selection(HWND dialog, int list) {
  std::string out;
  const auto count = win::SendDlgItemMessage(dialog, list, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    out += win::SendDlgItemMessage(dialog, list, win::LB_GETSEL, i, 0) > 0 ? '1' : '0';
  }
  return out;
}

// "YYYY/MM/DD HH:MM:SS", or "none".
std::string PickerText(HWND dialog, int picker) {
  win::SYSTEMTIME t;
  if (win::SendDlgItemMessage(dialog, picker, win::DTM_GETSYSTEMTIME, 0,
                              reinterpret_cast<win::LPARAM>(&t)) != win::GDT_VALID) {
    return "none";
  }
  char text[64];
  std::snprintf(text, sizeof text, "%04u/%02u/%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay,
                t.wHour, t.wMinute, t.wSecond);
  return text;
}

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
// The three lists' selections.
Action ExpectSelections(const char* authors, const char* kinds, const char* states) {
  return [=](HWND dialog) {
    EXPECT_EQ(Selection(dialog, kFilterAuthorList), authors);
    EXPECT_EQ(Selection(dialog, kFilterKindList), kinds);
    EXPECT_EQ(Selection(dialog, kFilterReviewStateList), states);
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
    ASSERT_TRUE(win::IsWindowEnabled(owner_));
    previousDriver_ = win::SetDialogDriver(&user_);
  }
  void TearDown() override {
    win::SetDialogDriver(previousDriver_);
    host_.reset();
    FilterLibraryTest::TearDown();
  }

  // Criteria as an import prepares them, over the authors that the scan found.
  void Prepare(pdf::FilterCriteria& criteria, const pdf::AuthorSet& found) {
    criteria.knownAuthors = found;
    criteria.kindMask = pdf::kAllCommentKinds;
    criteria.markedStateMask = pdf::kAllMarkedStates;
    criteria.reviewStateMask = pdf::kAllReviewStates;
    criteria.migrationStateMask = pdf::kAllMigrationStates;
    criteria.acceptedAuthors = found;
    criteria.acceptedAuthors.insert(kAnonymous);
    criteria.dateFilterOn = true;
    SetDate(criteria.startDate, UtcSeconds(2024, 2, 29, 13, 14, 15));
    SetDate(criteria.endDate, UtcSeconds(2024, 3, 31, 8, 0, 0));
  }

  // Runs the dialog with the user's actions, one a turn (then it is cancelled, as for a user
  // who walks away); all must have been played, and the owner is enabled again afterwards.
  int32_t Run(pdf::FilterCriteria& criteria, const std::vector<Action>& actions) {
    user_.steps.assign(actions.begin(), actions.end());
    user_.templateNames.clear();
    const int32_t result = RunFilterDialog(criteria, owner_);
    EXPECT_TRUE(user_.steps.empty());
    EXPECT_TRUE(win::IsWindowEnabled(owner_));
    return result;
  }

  // The dialog is up, modal over the host's main window.
  Action ExpectModalOverOwner() {
    return [this](HWND dialog) {
      EXPECT_EQ(win::GetWindow(dialog, win::GW_OWNER), owner_);
      EXPECT_FALSE(win::IsWindowEnabled(owner_));
    };
  }

  std::string clientPath_ = OSPREVAN_PLUGIN_PATH;
  std::unique_ptr<tlhost::Host> host_;
  HWND owner_ = nullptr;
  win::testing::StepUser user_;
  win::DialogDriver* previousDriver_ = nullptr;
};

const pdf::AuthorSet kFound = {kAnonymous, kLongName, "Reviewer", "reviewer", "佐藤"};

// The controls show the criteria, over the authors found in byte order, modal over the host's
// main window.
TEST_F(FilterDialogTest, ControlsShowTheCriteria) {
  pdf::FilterCriteria criteria;
  Prepare(criteria, kFound);
  criteria.acceptedAuthors = {"reviewer", "佐藤", "鈴木"};  // 鈴木 is no author of this PDF
  criteria.kindMask = pdf::Delete | pdf::Highlight | pdf::Note;
  criteria.reviewStateMask = pdf::Accepted | pdf::Completed;
  criteria.markedStateMask = pdf::Marked;
  const Action expectShown = [](HWND dialog) {
    EXPECT_EQ(win::GetFocus(), win::GetDlgItem(dialog, kFilterContinueButton));
    EXPECT_EQ(Entries(dialog, kFilterAuthorList),
              (std::vector<std::string>{kAnonymous, kLongName, "Reviewer", "reviewer", "佐藤"}));
    EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterMarkedCheck), win::BST_CHECKED);
    EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterUnmarkedCheck), win::BST_UNCHECKED);
    EXPECT_EQ(PickerText(dialog, kFilterStartPicker), "2024/02/29 13:14:15");
    EXPECT_EQ(PickerText(dialog, kFilterEndPicker), "2024/03/31 08:00:00");
  };
  EXPECT_EQ(Run(criteria, {ExpectModalOverOwner(), expectShown,
                           ExpectSelections("00011", "010101", "01001")}),
            hostlink::kAnswerStop);
  ASSERT_FALSE(user_.templateNames.empty());
  EXPECT_EQ(user_.templateNames[0], "customfilterdialog");
}

// Continue (button or Return) copies every choice into the criteria, and nothing else: the
// migration states and bits the dialog does not show stay; anonymous stays accepted only when
// the scan found it; a picker without a date turns the date test off and leaves its date, and
// dates never turn on a test the input step left off.
TEST_F(FilterDialogTest, ContinueCopiesTheChoicesIntoTheCriteria) {
  const std::vector<Action> choices = {ClickEntry(kFilterAuthorList, "Reviewer", ListClick::Only),
                                       ClickEntry(kFilterAuthorList, "佐藤", ListClick::Select),
                                       Click(kFilterDeselectAllKinds),
                                       ClickEntry(kFilterKindList, 0, ListClick::Select),
                                       ClickEntry(kFilterKindList, 2, ListClick::Select),
                                       ClickEntry(kFilterReviewStateList, 0, ListClick::Only),
                                       ClickEntry(kFilterReviewStateList, 2, ListClick::Select),
                                       Click(kFilterMarkedCheck),
                                       Pick(kFilterStartPicker, "2024/01/02 03:04:05"),
                                       Pick(kFilterEndPicker, "2024/12/31 23:59:59"),
                                       ExpectSelections("00101", "101000", "10100"),
                                       Click(kFilterContinueButton)};
  const Action continueButton = Click(kFilterContinueButton);
  const auto withChoices = [](CriteriaValues& v) {
    v = {pdf::Insert | pdf::Replace,
         pdf::Unmarked | 0x100u,
         pdf::None | pdf::Rejected,
         pdf::MigrationConfirmed,
         pdf::AuthorSet{"Reviewer", "佐藤"},
         "2024/01/02 03:04:05",
         "2024/12/31 23:59:59",
         true};
  };
  const auto datesThenNone = [&](int cleared) {
    return std::vector<Action>{Pick(kFilterStartPicker, "2023/03/01 00:00:00"),
                               Pick(kFilterEndPicker, "2023/03/31 00:00:00"),
                               Pick(cleared, nullptr), continueButton};
  };
  const pdf::AuthorSet named = {"Reviewer", "佐藤"};
  const struct {
    const char* how;
    pdf::AuthorSet found;
    bool dateFilterOn;
    std::vector<Action> actions;
    std::function<void(CriteriaValues&)> expect;  // the change to the criteria
  } rows[] = {
      {"continue button", kFound, true, choices, withChoices},
      {"defaults, anonymous found, Return",
       kFound,
       true,
       {ExpectSelections("11111", "111111", "11111"), win::PressEnter},
       [](CriteriaValues&) {}},
      {"defaults, no anonymous",
       named,
       true,
       {ExpectSelections("11", "111111", "11111"), continueButton},
       [&](CriteriaValues& v) { v.acceptedAuthors = named; }},
      {"no start", kFound, true, datesThenNone(kFilterStartPicker),
       [](CriteriaValues& v) { v.endDate = "2023/03/31 00:00:00", v.dateFilterOn = false; }},
      {"no end", kFound, true, datesThenNone(kFilterEndPicker),
       [](CriteriaValues& v) { v.startDate = "2023/03/01 00:00:00", v.dateFilterOn = false; }},
      {"left off", kFound, false, {continueButton}, [](CriteriaValues&) {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.how);
    pdf::FilterCriteria criteria;
    Prepare(criteria, row.found);
    criteria.dateFilterOn = row.dateFilterOn;
    criteria.migrationStateMask = pdf::MigrationConfirmed;  // never the dialog's to change
    criteria.markedStateMask |= 0x100;                      // nor bits it does not show
    CriteriaValues expected = ValuesOf(criteria);
    expected.acceptedAuthors = row.found;
    row.expect(expected);
    EXPECT_EQ(Run(criteria, row.actions), hostlink::kAnswerContinue);
    EXPECT_EQ(ValuesOf(criteria), expected);
  }
}

// However the dialog is cancelled, after every control changed, the criteria stay as they were.
TEST_F(FilterDialogTest, EveryWayOfCancellingLeavesTheCriteriaAsTheyWere) {
  const std::pair<const char*, Action> cancellations[] = {
      {"cancel button", Click(kFilterCancelButton)},
      {"Escape", win::PressEscape},
      {"close box", win::ClickCloseBox},
      {"no user", nullptr},
  };
  for (const auto& [how, cancel] : cancellations) {
    SCOPED_TRACE(how);
    pdf::FilterCriteria criteria;
    Prepare(criteria, kFound);
    const CriteriaValues before = ValuesOf(criteria);
    std::vector<Action> actions = {ExpectModalOverOwner(),
                                   Click(kFilterDeselectAllAuthors),
                                   ClickEntry(kFilterKindList, 3, ListClick::Only),
                                   Click(kFilterDeselectAllReviewStates),
                                   Click(kFilterMarkedCheck),
                                   Click(kFilterUnmarkedCheck),
                                   Pick(kFilterStartPicker, "2020/05/06 07:08:09"),
                                   Pick(kFilterEndPicker, nullptr)};
    if (cancel) actions.push_back(cancel);
    EXPECT_EQ(Run(criteria, actions), hostlink::kAnswerStop);
    EXPECT_EQ(ValuesOf(criteria), before);
  }
}

// A client path that names no loaded module: the dialog cannot be made.
class FilterDialogWithoutModuleTest : public FilterDialogTest {
 protected:
  FilterDialogWithoutModuleTest() { clientPath_ = "/nonexistent/libosprevan.so"; }
};

TEST_F(FilterDialogWithoutModuleTest, ImportGoesOnWithTheCriteriaUnchanged) {
  pdf::FilterCriteria criteria;
  Prepare(criteria, kFound);
  const CriteriaValues before = ValuesOf(criteria);
  user_.steps.push_back(Click(kFilterCancelButton));
  EXPECT_EQ(RunFilterDialog(criteria, owner_), hostlink::kAnswerContinue);
  EXPECT_EQ(user_.steps.size(), 1u);
  EXPECT_TRUE(user_.templateNames.empty());
  EXPECT_TRUE(win::IsWindowEnabled(owner_));
  EXPECT_EQ(ValuesOf(criteria), before);
}

}  // namespace
}  // namespace osprevan::ui
