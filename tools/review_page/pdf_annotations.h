// The reviewers' annotations of a PDF page as the review page shows them: a top-level comment
// with the boxes it was drawn with (a replace's grouped parts joined to it) and its thread of
// replies. Read from the annotation dictionaries themselves, so that the page shows what the
// PDF holds, independently of how the import read it.
#pragma once

#include <string>
#include <vector>

class PDFDoc;

namespace osprevan::review {

// A quadrilateral in PDF user space, its corners in drawing order.
struct Quad {
  double x[4] = {0, 0, 0, 0};
  double y[4] = {0, 0, 0, 0};
};

struct AnnotationReply {
  std::string author;
  std::string date;  // "YYYY/MM/DD HH:MM:SS", UTC, as the report writes dates
  std::string contents;
  std::vector<AnnotationReply> replies;
};

struct PageAnnotation {
  int page = 0;  // from 1
  // The subtype of each part: the comment's own first, then the grouped parts'.
  std::vector<std::string> subtypes;
  std::string author;
  std::vector<std::string> dates;     // each part's
  std::vector<std::string> contents;  // each part's
  std::vector<Quad> boxes;
  std::vector<AnnotationReply> replies;
};

// The top-level reviewer comments of page `page` (from 1), in the page's order. Links, pop-ups
// and form fields are left out; an annotation whose /IRT names one on the page is a reply, or
// with /RT /Group a part of it.
std::vector<PageAnnotation> ReadPageAnnotations(PDFDoc& pdf, int page);

// A PDF date ("D:20260101120000+09'00'") as "YYYY/MM/DD HH:MM:SS" in UTC; "" when unreadable.
std::string UtcDateText(const std::string& pdfDate);

// A PDF text string (UTF-16BE with its mark, UTF-8 with its mark, or PDFDocEncoding) as UTF-8.
std::string TextStringToUtf8(const std::string& bytes);

}  // namespace osprevan::review
