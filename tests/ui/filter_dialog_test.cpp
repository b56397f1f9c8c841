#include "ui/filter_dialog.h"

#include <functional>
#include <memory>
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

constexpr const char* kLongName =
    "A reviewer whose name is far too long to fit into the author list without scrolling sideways";

// The user of the dialog: one action per turn of its loop. When the actions run out the
// dialog manager cancels the dialog, as it does for a user who walks away.
class ScriptedUser : public win::DialogDriver {
 public:
  using Action = std::function<void(HWND dialog)>;

  ScriptedUser& Then(Action action) {
    actions_.push_back(std::move(action));
    return *this;
  }
  bool Step(HWND dialog, const std::string& templateName) override {
    templates_.push_back(templateName);
    if (played_ == actions_.size()) return false;
    actions_[played_++](dialog);
    return true;
  }
  void Reset() {
    actions_.clear();
    played_ = 0;
    templates_.clear();
  }
  size_t played() const { return played_; }
  size_t scripted() const { return actions_.size(); }
  const std::vector<std::string>& templates() const { return templates_; }

 private:
  std::vector<Action> actions_;
  size_t played_ = 0;
  std::vector<std::string> templates_;
};

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

void Click(HWND dialog, int id) {
  EXPECT_TRUE(win::ClickButton(win::GetDlgItem(dialog, id))) << id;
}

void ClickEntry(HWND dialog, int list, const std::string& text, win::ListClick click) {
  const HWND handle = win::GetDlgItem(dialog, list);
  const int index = win::FindListEntry(handle, win::Utf8ToWide(text));
  ASSERT_GE(index, 0) << text;
  EXPECT_TRUE(win::ClickListEntry(handle, index, click));
}

void ClickEntry(HWND dialog, int list, int index, win::ListClick click) {
  EXPECT_TRUE(win::ClickListEntry(win::GetDlgItem(dialog, list), index, click));
}

void Pick(HWND dialog, int picker, int year, int month, int day, int hour, int minute, int second) {
  win::SYSTEMTIME t;
  t.wYear = static_cast<uint16_t>(year);
  t.wMonth = static_cast<uint16_t>(month);
  t.wDay = static_cast<uint16_t>(day);
  t.wHour = static_cast<uint16_t>(hour);
  t.wMinute = static_cast<uint16_t>(minute);
  t.wSecond = static_cast<uint16_t>(second);
  EXPECT_TRUE(win::PickDate(win::GetDlgItem(dialog, picker), &t));
}

void PickNoDate(HWND dialog, int picker) {
  EXPECT_TRUE(win::PickDate(win::GetDlgItem(dialog, picker), nullptr));
}

// The criteria's values, for telling whether a dialog changed them.
struct CriteriaValues {
  uint32_t kindMask, markedStateMask, reviewStateMask, migrationStateMask;
  pdf::AuthorSet acceptedAuthors;
  std::string startDate, endDate;
  bool dateFilterOn;
};

CriteriaValues ValuesOf(const pdf::FilterCriteria& c) {
  return {c.kindMask,        c.markedStateMask,     c.reviewStateMask,   c.migrationStateMask,
          c.acceptedAuthors, DateText(c.startDate), DateText(c.endDate), c.dateFilterOn};
}

void ExpectSameValues(const CriteriaValues& before, const pdf::FilterCriteria& after) {
  const CriteriaValues now = ValuesOf(after);
  EXPECT_EQ(now.kindMask, before.kindMask);
  EXPECT_EQ(now.markedStateMask, before.markedStateMask);
  EXPECT_EQ(now.reviewStateMask, before.reviewStateMask);
  EXPECT_EQ(now.migrationStateMask, before.migrationStateMask);
  EXPECT_EQ(now.acceptedAuthors, before.acceptedAuthors);
  EXPECT_EQ(now.startDate, before.startDate);
  EXPECT_EQ(now.endDate, before.endDate);
  EXPECT_EQ(now.dateFilterOn, before.dateFilterOn);
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
    pdf::knownAuthors = found;
    criteria.kindMask = pdf::kAllCommentKinds;
    criteria.markedStateMask = pdf::Unmarked | pdf::Marked;
    criteria.reviewStateMask =
        pdf::None | pdf::Accepted | pdf::Rejected | pdf::Cancelled | pdf::Completed;
    criteria.migrationStateMask =
        pdf::MigrationConfirmed | pdf::MigrationPending | pdf::MigrationNone;
    criteria.acceptedAuthors = found;
    criteria.acceptedAuthors.insert(kAnonymous);
    criteria.dateFilterOn = true;
    SetDate(criteria.startDate, UtcSeconds(2024, 2, 29, 13, 14, 15));
    SetDate(criteria.endDate, UtcSeconds(2024, 3, 31, 8, 0, 0));
  }

  // Runs the dialog; every scripted action must have been played, and the owner is enabled
  // again afterwards.
  int32_t Run(pdf::FilterCriteria& criteria) {
    const int32_t result = RunFilterDialog(criteria, owner_);
    EXPECT_EQ(user_.played(), user_.scripted());
    EXPECT_TRUE(win::IsWindowEnabled(owner_));
    return result;
  }

  // The dialog is up, modal over the host's main window.
  ScriptedUser::Action ExpectModalOverOwner() {
    return [this](HWND dialog) {
      EXPECT_EQ(win::GetWindow(dialog, win::GW_OWNER), owner_);
      EXPECT_FALSE(win::IsWindowEnabled(owner_));
    };
  }

  std::string clientPath_ = OSPREVAN_PLUGIN_PATH;
  std::unique_ptr<tlhost::Host> host_;
  HWND owner_ = nullptr;
  ScriptedUser user_;
  win::DialogDriver* previousDriver_ = nullptr;
};

const pdf::AuthorSet kFound = {kAnonymous, kLongName, "Reviewer", "reviewer", "佐藤"};

TEST_F(FilterDialogTest, ControlsShowTheCriteria) {
  pdf::FilterCriteria criteria;
  Prepare(criteria, kFound);
  criteria.acceptedAuthors = {"reviewer", "佐藤", "鈴木"};  // 鈴木 is no author of this PDF
  criteria.kindMask = pdf::Delete | pdf::Highlight | pdf::Note;
  criteria.reviewStateMask = pdf::Accepted | pdf::Completed;
  criteria.markedStateMask = pdf::Marked;
  const CriteriaValues before = ValuesOf(criteria);

  user_.Then(ExpectModalOverOwner()).Then([](HWND dialog) {
    EXPECT_EQ(win::GetFocus(), win::GetDlgItem(dialog, kFilterContinueButton));

    // Authors in byte order, each shown whole; the list scrolls sideways for long names.
    EXPECT_EQ(Entries(dialog, kFilterAuthorList),
              (std::vector<std::string>{kAnonymous, kLongName, "Reviewer", "reviewer", "佐藤"}));
    EXPECT_EQ(Selection(dialog, kFilterAuthorList), "00011");
    EXPECT_EQ(win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_GETHORIZONTALEXTENT, 0, 0),
              300);

    EXPECT_EQ(
        Entries(dialog, kFilterKindList),
        (std::vector<std::string>{"挿入", "削除", "置換", "ハイライト", "下線", "ノート注釈"}));
    EXPECT_EQ(Selection(dialog, kFilterKindList), "010101");
    EXPECT_EQ(Entries(dialog, kFilterReviewStateList),
              (std::vector<std::string>{"なし", "承認されました", "拒否されました",
                                        "中止されました", "完了しました"}));
    EXPECT_EQ(Selection(dialog, kFilterReviewStateList), "01001");

    EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterMarkedCheck), win::BST_CHECKED);
    EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterUnmarkedCheck), win::BST_UNCHECKED);
    EXPECT_EQ(PickerText(dialog, kFilterStartPicker), "2024/02/29 13:14:15");
    EXPECT_EQ(PickerText(dialog, kFilterEndPicker), "2024/03/31 08:00:00");
  });
  EXPECT_EQ(Run(criteria), hostlink::kAnswerStop);
  ExpectSameValues(before, criteria);
  ASSERT_FALSE(user_.templates().empty());
  EXPECT_EQ(user_.templates()[0], "customfilterdialog");
}

TEST_F(FilterDialogTest, ContinueCopiesTheChoicesIntoTheCriteria) {
  const std::vector<std::pair<const char*, ScriptedUser::Action>> confirmations = {
      {"continue button", [](HWND dialog) { Click(dialog, kFilterContinueButton); }},
      {"Return", [](HWND dialog) { win::PressEnter(dialog); }},
  };
  for (const auto& [how, confirm] : confirmations) {
    SCOPED_TRACE(how);
    pdf::FilterCriteria criteria;
    Prepare(criteria, kFound);
    criteria.migrationStateMask = pdf::MigrationConfirmed;  // never the dialog's to change
    criteria.markedStateMask |= 0x100;                      // nor bits it does not show
    user_.Reset();
    user_
        .Then([](HWND dialog) {
          ClickEntry(dialog, kFilterAuthorList, "Reviewer", win::ListClick::Only);
        })
        .Then([](HWND dialog) {
          ClickEntry(dialog, kFilterAuthorList, "佐藤", win::ListClick::Select);
        })
        .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllKinds); })
        .Then([](HWND dialog) { ClickEntry(dialog, kFilterKindList, 0, win::ListClick::Select); })
        .Then([](HWND dialog) { ClickEntry(dialog, kFilterKindList, 2, win::ListClick::Select); })
        .Then([](HWND dialog) {
          ClickEntry(dialog, kFilterReviewStateList, 0, win::ListClick::Only);
        })
        .Then([](HWND dialog) {
          ClickEntry(dialog, kFilterReviewStateList, 2, win::ListClick::Select);
        })
        .Then([](HWND dialog) { Click(dialog, kFilterMarkedCheck); })
        .Then([](HWND dialog) { Pick(dialog, kFilterStartPicker, 2024, 1, 2, 3, 4, 5); })
        .Then([](HWND dialog) { Pick(dialog, kFilterEndPicker, 2024, 12, 31, 23, 59, 59); })
        .Then([](HWND dialog) {
          EXPECT_EQ(Selection(dialog, kFilterAuthorList), "00101");
          EXPECT_EQ(Selection(dialog, kFilterKindList), "101000");
          EXPECT_EQ(Selection(dialog, kFilterReviewStateList), "10100");
        })
        .Then(confirm);
    EXPECT_EQ(Run(criteria), hostlink::kAnswerContinue);
    EXPECT_EQ(criteria.acceptedAuthors, (pdf::AuthorSet{"Reviewer", "佐藤"}));
    EXPECT_EQ(criteria.kindMask, pdf::Insert | pdf::Replace);
    EXPECT_EQ(criteria.reviewStateMask, pdf::None | pdf::Rejected);
    EXPECT_EQ(criteria.markedStateMask, pdf::Unmarked | 0x100u);
    EXPECT_EQ(criteria.migrationStateMask, pdf::MigrationConfirmed);
    EXPECT_EQ(DateText(criteria.startDate), "2024/01/02 03:04:05");
    EXPECT_EQ(DateText(criteria.endDate), "2024/12/31 23:59:59");
    EXPECT_TRUE(criteria.dateFilterOn);
  }
}

TEST_F(FilterDialogTest, DefaultsShownAndConfirmedKeepAnonymousOnlyWhenFound) {
  for (const pdf::AuthorSet& found : {kFound, pdf::AuthorSet{"Reviewer", "佐藤"}}) {
    pdf::FilterCriteria criteria;
    Prepare(criteria, found);
    CriteriaValues expected = ValuesOf(criteria);
    expected.acceptedAuthors = found;
    user_.Reset();
    user_
        .Then([&found](HWND dialog) {
          EXPECT_EQ(Selection(dialog, kFilterAuthorList), std::string(found.size(), '1'));
          EXPECT_EQ(Selection(dialog, kFilterKindList), "111111");
          EXPECT_EQ(Selection(dialog, kFilterReviewStateList), "11111");
          EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterMarkedCheck), win::BST_CHECKED);
          EXPECT_EQ(win::IsDlgButtonChecked(dialog, kFilterUnmarkedCheck), win::BST_CHECKED);
        })
        .Then([](HWND dialog) { Click(dialog, kFilterContinueButton); });
    EXPECT_EQ(Run(criteria), hostlink::kAnswerContinue);
    ExpectSameValues(expected, criteria);
  }
}

TEST_F(FilterDialogTest, SelectAllButtonsEachWorkOnTheirOwnList) {
  pdf::FilterCriteria criteria;
  Prepare(criteria, kFound);
  criteria.acceptedAuthors.clear();
  criteria.kindMask = 0;
  criteria.reviewStateMask = 0;
  const auto expect = [](const char* authors, const char* kinds, const char* states) {
    return [=](HWND dialog) {
      EXPECT_EQ(Selection(dialog, kFilterAuthorList), authors);
      EXPECT_EQ(Selection(dialog, kFilterKindList), kinds);
      EXPECT_EQ(Selection(dialog, kFilterReviewStateList), states);
    };
  };
  user_.Then(expect("00000", "000000", "00000"))
      .Then([](HWND dialog) { Click(dialog, kFilterSelectAllAuthors); })
      .Then(expect("11111", "000000", "00000"))
      .Then([](HWND dialog) { Click(dialog, kFilterSelectAllKinds); })
      .Then(expect("11111", "111111", "00000"))
      .Then([](HWND dialog) { Click(dialog, kFilterSelectAllReviewStates); })
      .Then(expect("11111", "111111", "11111"))
      .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllAuthors); })
      .Then(expect("00000", "111111", "11111"))
      .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllKinds); })
      .Then(expect("00000", "000000", "11111"))
      .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllReviewStates); })
      .Then(expect("00000", "000000", "00000"))
      .Then([](HWND dialog) { Click(dialog, kFilterSelectAllAuthors); })
      .Then([](HWND dialog) { Click(dialog, kFilterSelectAllReviewStates); })
      .Then([](HWND dialog) { Click(dialog, kFilterContinueButton); });
  EXPECT_EQ(Run(criteria), hostlink::kAnswerContinue);
  EXPECT_EQ(criteria.acceptedAuthors, kFound);
  EXPECT_EQ(criteria.kindMask, 0u);  // nothing chosen is nothing chosen: no kind passes
  EXPECT_EQ(criteria.reviewStateMask,
            pdf::None | pdf::Accepted | pdf::Rejected | pdf::Cancelled | pdf::Completed);
}

TEST_F(FilterDialogTest, EveryWayOfCancellingLeavesTheCriteriaAsTheyWere) {
  const std::vector<std::pair<const char*, ScriptedUser::Action>> cancellations = {
      {"cancel button", [](HWND dialog) { Click(dialog, kFilterCancelButton); }},
      {"Escape", [](HWND dialog) { win::PressEscape(dialog); }},
      {"close box", [](HWND dialog) { win::ClickCloseBox(dialog); }},
      {"no user", nullptr},
  };
  for (const auto& [how, cancel] : cancellations) {
    SCOPED_TRACE(how);
    pdf::FilterCriteria criteria;
    Prepare(criteria, kFound);
    const CriteriaValues before = ValuesOf(criteria);
    user_.Reset();
    user_.Then(ExpectModalOverOwner())
        .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllAuthors); })
        .Then([](HWND dialog) { ClickEntry(dialog, kFilterKindList, 3, win::ListClick::Only); })
        .Then([](HWND dialog) { Click(dialog, kFilterDeselectAllReviewStates); })
        .Then([](HWND dialog) { Click(dialog, kFilterMarkedCheck); })
        .Then([](HWND dialog) { Click(dialog, kFilterUnmarkedCheck); })
        .Then([](HWND dialog) { Pick(dialog, kFilterStartPicker, 2020, 5, 6, 7, 8, 9); })
        .Then([](HWND dialog) { PickNoDate(dialog, kFilterEndPicker); });
    if (cancel) user_.Then(cancel);
    EXPECT_EQ(Run(criteria), hostlink::kAnswerStop);
    ExpectSameValues(before, criteria);
  }
}

TEST_F(FilterDialogTest, NoDateInAPickerTurnsTheDateTestOff) {
  for (const int picker : {kFilterStartPicker, kFilterEndPicker}) {
    SCOPED_TRACE(picker);
    pdf::FilterCriteria criteria;
    Prepare(criteria, kFound);
    user_.Reset();
    user_.Then([](HWND dialog) { Pick(dialog, kFilterStartPicker, 2023, 3, 1, 0, 0, 0); })
        .Then([](HWND dialog) { Pick(dialog, kFilterEndPicker, 2023, 3, 31, 0, 0, 0); })
        .Then([picker](HWND dialog) { PickNoDate(dialog, picker); })
        .Then([](HWND dialog) { Click(dialog, kFilterContinueButton); });
    EXPECT_EQ(Run(criteria), hostlink::kAnswerContinue);
    EXPECT_FALSE(criteria.dateFilterOn);
    // The picker without a date leaves its date alone; the other one is still read.
    EXPECT_EQ(DateText(criteria.startDate),
              picker == kFilterStartPicker ? "2024/02/29 13:14:15" : "2023/03/01 00:00:00");
    EXPECT_EQ(DateText(criteria.endDate),
              picker == kFilterEndPicker ? "2024/03/31 08:00:00" : "2023/03/31 00:00:00");
  }
  // Dates in both pickers do not turn a test on that the input step left off.
  pdf::FilterCriteria criteria;
  Prepare(criteria, kFound);
  criteria.dateFilterOn = false;
  user_.Reset();
  user_.Then([](HWND dialog) { Click(dialog, kFilterContinueButton); });
  EXPECT_EQ(Run(criteria), hostlink::kAnswerContinue);
  EXPECT_FALSE(criteria.dateFilterOn);
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
  user_.Then([](HWND dialog) { Click(dialog, kFilterCancelButton); });
  EXPECT_EQ(RunFilterDialog(criteria, owner_), hostlink::kAnswerContinue);
  EXPECT_EQ(user_.played(), 0u);
  EXPECT_TRUE(user_.templates().empty());
  EXPECT_TRUE(win::IsWindowEnabled(owner_));
  ExpectSameValues(before, criteria);
}

}  // namespace
}  // namespace osprevan::ui
