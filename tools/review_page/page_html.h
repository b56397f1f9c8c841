// The review page's HTML: for every comment of an import's report, the part of the PDF page it
// was drawn on, what the reviewer wrote, what became of it and the document's text at its place
// after the import. Flagged and failed comments come first; a book's comments are grouped by
// component. Everything is inline (pictures as data: addresses, no network); a small script
// filters by outcome, and the page reads the same without it.
#pragma once

#include <string>
#include <vector>

#include "host/engine/document.h"
#include "tools/review_page/page_words.h"
#include "tools/review_page/review_report.h"

class PDFDoc;

namespace osprevan::review {

// A document the comments went to, by the file name the report gives it.
struct NamedDocument {
  std::string name;
  const tlhost::Document* document = nullptr;
};

struct ReviewPageSources {
  const ReviewReport* report = nullptr;
  PDFDoc* pdf = nullptr;                 // null: no pictures
  std::vector<NamedDocument> documents;  // one for a document; a book's components in order
  bool book = false;
  std::string pdfName, documentName;  // as the page names them
  PageLanguage language = PageLanguage::English;
};

std::string ReviewPageHtml(const ReviewPageSources& sources);

}  // namespace osprevan::review
