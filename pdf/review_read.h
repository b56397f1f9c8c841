// The first of the import's two stages: reading one host document's pages of the reviewed PDF.
// What it gives the second stage, placing, is a value: every comment read, with its range in
// the page text counted also in characters of the host paragraph, the page text those ranges
// point into, and the pages that could not be read. Its records and elements hold values, not
// handles of the PDF library: nothing in it calls the library again, also not when it is
// destroyed, so placing works on it with the library gone. No reading depends on an earlier one.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "pdf/content_element.h"
#include "pdf/filter_criteria.h"
#include "pdf/opened_pdf.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_parts.h"
#include "pdf/unread_annotation.h"
#include "support/phase_times.h"
#include "tolvane/numbers.h"

namespace osprevan::pdf {

struct ReviewRead {
  ReviewRead();
  ~ReviewRead();
  ReviewRead(ReviewRead&&) noexcept;
  ReviewRead& operator=(ReviewRead&&) noexcept;

  // Annotations on the pages asked for, whatever became of them; 0 means nothing to place.
  int64_t annotationCount = 0;
  // The top-level records by page (replies hang below their records).
  CommentsByPage commentsByPage;
  // Records the state filter took out: reported, never placed.
  std::vector<std::unique_ptr<PdfComment>> filteredOut;
  // Pages whose annotations were read but whose text was not: their comments have no place.
  std::set<int32_t> textUnread;
  // Pages the library could not give at all: their comments are not known.
  std::set<int32_t> pagesNotHad;
  // Comments of kinds the import does not take (a square, an ink stroke), by subtype name.
  std::map<std::string, int32_t> unreadKinds;
  // Annotations that could not be read, with their pages and why.
  std::vector<UnreadAnnotation> unreadAnnotations;

  // What the records' ranges point into.
  std::vector<std::unique_ptr<ContentElement>> elements;
  std::vector<std::unique_ptr<ElementEntry>> entries;

  // How long reading took, by phase.
  support::PhaseTimes phases;
};

// Told the index of each page as its reading starts, for progress.
using PageProgress = std::function<void(int32_t pageIndex)>;

// Reads the comments of the part's pages that pass `filter`, up to the last page with an
// annotation, and where each lies in the page text. `document` is the host document the part
// was made from; the anchors of tables and footnotes are looked up in it (none when 0).
ReviewRead ReadReview(const OpenedPdf& opened, tolvane::ObjectId document, const ReviewPart& part,
                      const FilterCriteria& filter, const PageProgress& progress = {});

}  // namespace osprevan::pdf
