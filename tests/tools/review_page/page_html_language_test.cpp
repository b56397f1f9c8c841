// The review page speaks the language it is given; its structure and outcome names do not change.
#include <gtest/gtest.h>

#include <string>

#include "tools/review_page/page_html.h"

namespace osprevan::review {
namespace {

ReviewReport TwoComments() {
  ReviewReport report;
  ReportComment flagged;
  flagged.page = 2;
  flagged.subtype = "Highlight";
  flagged.outcome = "misplaced";
  flagged.contents = "check this";
  flagged.replies = 1;
  ReportComment earlier = flagged;
  earlier.outcome = "alreadyImported";
  report.comments = {flagged, earlier};
  return report;
}

TEST(PageHtmlLanguageTest, WordsFollowTheLanguageAndStructureDoesNot) {
  const struct {
    PageLanguage language;
    std::string lang;
    std::vector<std::string> words;   // must be on the page
    std::vector<std::string> absent;  // the other language's, must not
  } cases[] = {
      {PageLanguage::English,
       "en",
       {"What became of each comment", "flagged for review", "already imported",
        "2 comments, 1 flagged for review, 1 already imported", "Highlight on page 2",
        "1 (not found in the PDF)", "(placed by an earlier import)"},
       {"各注釈の結果", "要確認"}},
      {PageLanguage::Japanese,
       "ja",
       {"各注釈の結果", "要確認", "読み込み済み", "注釈 2 件、要確認 1 件、読み込み済み 1 件",
        "2 ページの Highlight", "1 (PDF に見つかりませんでした)", "(以前の読み込みで配置済み)"},
       {"What became of each comment", "flagged for review", "on page"}},
  };
  const ReviewReport report = TwoComments();
  for (const auto& c : cases) {
    ReviewPageSources sources;
    sources.report = &report;
    sources.pdfName = "review.pdf";
    sources.documentName = "doc.tlv";
    sources.language = c.language;
    const std::string html = ReviewPageHtml(sources);
    EXPECT_NE(html.find("<html lang=\"" + c.lang + "\">"), std::string::npos) << c.lang;
    for (const std::string& word : c.words)
      EXPECT_NE(html.find(word), std::string::npos) << c.lang << ": " << word;
    for (const std::string& word : c.absent)
      EXPECT_EQ(html.find(word), std::string::npos) << c.lang << ": " << word;
    // What programs and the filter read stays the report's own names.
    EXPECT_NE(html.find("data-outcome=\"misplaced\""), std::string::npos) << c.lang;
    EXPECT_NE(html.find("value=\"alreadyImported\""), std::string::npos) << c.lang;
  }
}

}  // namespace
}  // namespace osprevan::review
