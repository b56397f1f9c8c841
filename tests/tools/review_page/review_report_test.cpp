#include "tools/review_page/review_report.h"

#include <gtest/gtest.h>

namespace osprevan::review {
namespace {

TEST(ParseReviewReport, ReadsTheFieldsAnImportWrites) {
  ReviewReport report;
  std::string error;
  ASSERT_TRUE(ParseReviewReport(
      R"({"pdf": "r.pdf", "comments": [
  {"page": 2, "subtype": "Caret", "author": "Kim", "date": "2026/12/02 10:15:00",
   "contents": "a\tb", "markedText": "", "replies": 1, "placement": "insertion",
   "outcome": "misplaced", "flow": "A", "paragraph": 7, "begin": 3, "end": 3,
   "reason": "text changed since the PDF was made", "beginParagraph": 6,
   "document": "ch1.tlv"},
  {"page": 1, "subtype": "Text", "outcome": "alreadyImported"}
], "warnings": ["w1"]})",
      PageLanguage::English, report, error))
      << error;
  ASSERT_EQ(report.comments.size(), 2u);
  const ReportComment& c = report.comments[0];
  EXPECT_EQ(c.contents, "a\tb");
  EXPECT_EQ(c.beginParagraph, 6);
  EXPECT_EQ(c.paragraph, 7);
  EXPECT_EQ(c.document, "ch1.tlv");
  EXPECT_EQ(c.reason, "text changed since the PDF was made");
  // A report without the place fields leaves the comment unplaced.
  EXPECT_EQ(report.comments[1].begin, -1);
  EXPECT_EQ(report.comments[1].paragraph, 0);
  EXPECT_EQ(report.warnings, std::vector<std::string>{"w1"});
}

TEST(ParseReviewReport, RefusesWhatIsNoReport) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"empty", ""},
      {"cut short", R"({"pdf": "r.pdf", "comments": [{"page": 1)"},
      {"an array", "[]"},
      {"no comments", R"({"pdf": "r.pdf"})"},
      {"comments not a list", R"({"comments": {"page": 1}})"},
      {"a comment not an object", R"({"comments": [3]})"},
      {"page as text", R"({"comments": [{"page": "one"}]})"},
      {"contents as number", R"({"comments": [{"contents": 5}]})"},
      {"warnings not texts", R"({"comments": [], "warnings": [1]})"},
  };
  for (const Case& c : cases) {
    ReviewReport report;
    std::string error;
    EXPECT_FALSE(ParseReviewReport(c.text, PageLanguage::English, report, error)) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

}  // namespace
}  // namespace osprevan::review
