// The per-comment report an import writes (docs/report.md), read back for the review page.
#pragma once

#include <string>
#include <vector>

#include "tools/review_page/page_words.h"

namespace osprevan::review {

// One comment of the report and what became of it.
struct ReportComment {
  int page = 0;  // from 1
  std::string subtype;
  std::string author;
  std::string date;  // "YYYY/MM/DD HH:MM:SS", UTC; "" without one
  std::string contents;
  std::string markedText;
  int replies = 0;
  std::string placement;
  std::string outcome;  // successful, misplaced, failed, alreadyImported, filtered out
  std::string flow;
  int paragraph = 0;       // the unique number of the paragraph at the end; 0 when not placed
  int begin = -1;          // in beginParagraph
  int end = -1;            // in paragraph
  int beginParagraph = 0;  // 0 when not placed
  std::string reason;
  std::string document;  // the file name of the document it went to; "" in older reports
};

struct ReviewReport {
  std::string pdf;
  std::vector<ReportComment> comments;
  std::vector<std::string> warnings;
};

// Parses a report's text; false with `error` in words of `language` when it is not a report.
bool ParseReviewReport(const std::string& text, PageLanguage language, ReviewReport& out,
                       std::string& error);

// Reads and parses the report file at `path`.
bool ReadReviewReport(const std::string& path, PageLanguage language, ReviewReport& out,
                      std::string& error);

}  // namespace osprevan::review
