#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>

#include "filter_test_support.h"
#include "pdf/comment_kind.h"
#include "pdf/filter_criteria.h"
#include "pdf/filter_reading.h"
#include "pdf/library_handles.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_document.h"
#include "platform/win/utf16.h"
#include "reviewed_pdf.h"

namespace osprevan::pdf {
namespace {

using testing::DateText;
using testing::kAnonymous;
using testing::SecondsText;
using testing::SetDate;
using testing::TestDate;
using testing::UtcSeconds;

// Authors written in every way the scan has to read them: UTF-16 names, a tab and a carriage
// return inside a name, names that differ only in case, replies and a review state, and one
// annotation without a title.
constexpr const char* kReview = R"({"comments": [
  {"kind": "insert", "find": "注釈", "text": "新しい", "author": "佐藤",
   "replies": [{"author": "鈴木", "contents": "同意"}],
   "states": [{"model": "Review", "state": "Accepted", "author": "田中"}]},
  {"kind": "replace", "find": "マニュアル", "text": "手引き", "author": "Reviewer\tOne"},
  {"kind": "highlight", "find": "該当", "author": "Line\rTwo"},
  {"kind": "underline", "find": "説明", "author": "reviewer"},
  {"kind": "note", "point": [300, 300], "page": 0, "contents": "メモ", "author": "Reviewer"},
  {"kind": "squiggly", "find": "読み込み"},
  {"kind": "freetext", "rect": [100, 400, 300, 430], "page": 0, "contents": "自由",
   "author": "Müller"}
]})";

const AuthorSet kExpectedAuthors = {"Line\nTwo", "Müller", "Reviewer", "Reviewer\tOne", "reviewer",
                                    "佐藤",      "田中",   "鈴木",     kAnonymous};

// The file system's birth time where it keeps one; otherwise nothing.
std::optional<int64_t> BirthTime(const std::string& path) {
  struct statx info {};
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME, &info) != 0) return std::nullopt;
  if (!(info.stx_mask & STATX_BTIME)) return std::nullopt;
  return info.stx_btime.tv_sec;
}

bool SetLastWrite(const std::string& path, int64_t seconds) {
  const struct timespec times[2] = {{static_cast<time_t>(seconds), 0},
                                    {static_cast<time_t>(seconds), 0}};
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

class FilterCriteriaTest : public testing::FilterLibraryTest {
 protected:
  static void SetUpTestSuite() {
    reviewed_ = std::make_unique<fixtures::ReviewedPdf>();
    if (!reviewed_->ExportExample("chapter1.tlv") || !reviewed_->Review(kReview)) {
      setupError_ = reviewed_->error();
    }
  }
  static void TearDownTestSuite() { reviewed_.reset(); }

  void SetUp() override {
    FilterLibraryTest::SetUp();
    ASSERT_EQ(setupError_, "");
    document_ = pdf::OpenPdfByPath(win::Utf8ToWide(reviewed_->annotatedPdf()));
    ASSERT_NE(document_, nullptr);
  }
  void TearDown() override {
    if (document_) pdf::ClosePdf(document_);
    FilterLibraryTest::TearDown();
  }

  static std::unique_ptr<fixtures::ReviewedPdf> reviewed_;
  static std::string setupError_;
  OkDoc* document_ = nullptr;
};

std::unique_ptr<fixtures::ReviewedPdf> FilterCriteriaTest::reviewed_;
std::string FilterCriteriaTest::setupError_;

// The scan reads every title as the reader converts it, again the same after a new load.
TEST_F(FilterCriteriaTest, ScanReadsEveryTitleAsTheReaderConvertsItAlsoAfterALoadAgain) {
  AuthorSet authors;
  CollectAuthors(document_, authors);
  EXPECT_EQ(authors, kExpectedAuthors);
  // A second scan of the same PDF adds nothing new.
  CollectAuthors(document_, authors);
  EXPECT_EQ(authors.size(), kExpectedAuthors.size());
  pdf::ClosePdf(document_);
  document_ = nullptr;
  authors.clear();

  // A new load of the library numbers its names afresh; other names come first this time.
  pdf::PdfLibraryUnload();
  ASSERT_TRUE(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok());
  for (const char* name : {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta", "Theta",
                           "Iota", "Kappa", "Lambda", "Mu"}) {
    pdf::Tables().core->PdfAtom(name);
  }
  document_ = pdf::OpenPdfByPath(win::Utf8ToWide(reviewed_->annotatedPdf()));
  ASSERT_NE(document_, nullptr);
  CollectAuthors(document_, authors);
  EXPECT_EQ(authors, kExpectedAuthors);
}

// Every author found is accepted; the dates run from the PDF's creation day to now.
TEST_F(FilterCriteriaTest, DefaultsAcceptEveryAuthorFromTheCreationDayOn) {
  // The creation day must come out in UTC whatever the local zone.
  const char* zone = std::getenv("TZ");
  const std::string savedZone = zone ? zone : "";
  setenv("TZ", "Asia/Tokyo", 1);
  tzset();
  // 22:30 UTC is already the next day in Tokyo.
  const int64_t written = UtcSeconds(2021, 6, 15, 22, 30, 5);
  ASSERT_TRUE(SetLastWrite(reviewed_->annotatedPdf(), written));
  const int64_t created = BirthTime(reviewed_->annotatedPdf()).value_or(written);

  const OpenedPdf opened(win::Utf8ToWide(reviewed_->annotatedPdf()));
  ASSERT_TRUE(opened.status().ok());
  for (const bool dateFilterOn : {false, true}) {
    FilterCriteria criteria;
    criteria.dateFilterOn = dateFilterOn;
    const int64_t before = std::time(nullptr);
    PrepareFilterCriteria(win::Utf8ToWide(reviewed_->annotatedPdf()), criteria);
    const int64_t after = std::time(nullptr);

    EXPECT_EQ(criteria.dateFilterOn, dateFilterOn);
    EXPECT_TRUE(criteria.everyAuthor);
    EXPECT_TRUE(AuthorPasses("someone no comment names", criteria));
    ScanAuthors(opened, criteria);
    EXPECT_FALSE(AuthorPasses("someone no comment names", criteria));
    EXPECT_EQ(criteria.acceptedAuthors, kExpectedAuthors);
    EXPECT_EQ(criteria.knownAuthors, kExpectedAuthors);
    EXPECT_EQ(DateText(criteria.startDate), SecondsText(created));
    const TestDate earliest(before), latest(after);
    EXPECT_GE(pdf::Tables().dates->PdfDateCompare(LibraryDate(criteria.endDate), earliest.get()),
              0);
    EXPECT_LE(pdf::Tables().dates->PdfDateCompare(LibraryDate(criteria.endDate), latest.get()), 0);
  }

  if (zone) {
    setenv("TZ", savedZone.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST_F(FilterCriteriaTest, AnonymousIsAcceptedEvenWhenNoAnnotationLacksATitle) {
  fixtures::ReviewedPdf named;
  ASSERT_TRUE(named.ExportExample("chapter1.tlv")) << named.error();
  ASSERT_TRUE(named.Review(R"({"comments": [
    {"kind": "highlight", "find": "該当", "author": "佐藤"}]})"))
      << named.error();
  FilterCriteria criteria;
  {
    const OpenedPdf opened(win::Utf8ToWide(named.annotatedPdf()));
    ASSERT_TRUE(opened.status().ok());
    ScanAuthors(opened, criteria);
  }
  EXPECT_EQ(criteria.knownAuthors, AuthorSet{"佐藤"});
  EXPECT_EQ(criteria.acceptedAuthors, (AuthorSet{"佐藤", kAnonymous}));
}

TEST_F(FilterCriteriaTest, UnreadableCreationTimeLeavesTheLibrarysZeroDate) {
  FilterCriteria criteria;
  SetDate(criteria.startDate, UtcSeconds(2020, 1, 1));
  PrepareFilterCriteria(u"/nonexistent/review.pdf", criteria);
  EXPECT_EQ(DateText(criteria.startDate), "1970/01/01 00:00:00");
}

// The pass tests need the library for dates only.
using FilterPassTest = testing::FilterLibraryTest;

TEST_F(FilterPassTest, AuthorsMatchByteForByteAndEmptyMeansAnonymous) {
  FilterCriteria criteria;
  criteria.acceptedAuthors = {"佐藤", "Reviewer", kAnonymous};
  for (const auto& [author, passes] : {std::pair<const char*, bool>{"佐藤", true},
                                       {"Reviewer", true},
                                       {"reviewer", false},
                                       {"Reviewer ", false},
                                       {"鈴木", false},
                                       {"", true}})
    EXPECT_EQ(AuthorPasses(author, criteria), passes) << author;
  criteria.acceptedAuthors.erase(kAnonymous);
  EXPECT_FALSE(AuthorPasses("", criteria));
}

// "YYYY/MM/DD HH:MM:SS" in UTC, as seconds.
int64_t Seconds(const char* text) {
  std::tm fields{};
  EXPECT_NE(strptime(text, "%Y/%m/%d %H:%M:%S", &fields), nullptr) << text;
  return static_cast<int64_t>(timegm(&fields));
}

// A date passes when its day lies within the ends' days, both included; with the test off, all.
TEST_F(FilterPassTest, DatesPassByWholeDaysWithBothEndsIncluded) {
  // Ends with a time of day: the test must compare days, not instants.
  constexpr const char *kStart = "2024/02/28 15:30:00", *kEnd = "2024/03/01 08:00:00";
  constexpr const char* kLastDay = "2023/12/31 01:00:00";  // the end of the shorter periods
  const struct {
    const char *start, *end, *date;
    bool passes;
  } cases[] = {
      {kStart, kEnd, "2024/02/27 23:59:59", false},  // the day before the start
      {kStart, kEnd, "2024/02/28 00:00:00", true},   // the start day, before the start time
      {kStart, kEnd, "2024/02/29 12:00:00", true},   // the leap day in between
      {kStart, kEnd, "2024/03/01 23:59:59", true},   // the end day, after the end time
      {kStart, kEnd, "2024/03/02 00:00:00", false},  // the day after the end
      {kStart, kEnd, "2023/02/28 12:00:00", false},  // the same day a year before
      // One day, the end earlier that day than the start.
      {"2023/12/31 23:00:00", kLastDay, "2023/12/31 12:00:00", true},
      {"2023/12/31 23:00:00", kLastDay, "2024/01/01 00:00:00", false},
      // A start after the end lets nothing through, not even the ends themselves.
      {"2024/01/01 00:00:00", kLastDay, "2024/01/01 10:00:00", false},
      {"2024/01/01 00:00:00", kLastDay, "2024/01/01 00:00:00", false},
  };
  FilterCriteria criteria;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.date) + " from " + c.start + " to " + c.end);
    SetDate(criteria.startDate, Seconds(c.start));
    SetDate(criteria.endDate, Seconds(c.end));
    const TestDate date(Seconds(c.date));
    criteria.dateFilterOn = true;
    EXPECT_EQ(DatePasses(date.get(), criteria), c.passes);
    EXPECT_FALSE(DatePasses(nullptr, criteria));
    // The ends are compared as days but kept as they were.
    EXPECT_EQ(DateText(criteria.startDate), c.start);
    EXPECT_EQ(DateText(criteria.endDate), c.end);
    criteria.dateFilterOn = false;
    EXPECT_TRUE(DatePasses(date.get(), criteria));
    EXPECT_TRUE(DatePasses(nullptr, criteria));
  }
}

}  // namespace
}  // namespace osprevan::pdf
