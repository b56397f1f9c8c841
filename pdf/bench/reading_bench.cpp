// Reads the comments of a long reviewed PDF page by page, as an import does, and prints the
// time per page at the start and at the end of the document. Reading a page must not cost
// more the later the page comes: the state filter and the fallback look back at what was read
// before, and they must not look at all of it again on every page.
//
//   pdf_reading_bench [PARAGRAPHS]     (default 2400 paragraphs, some 200 pages)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pdf/comment_kind.h"
#include "pdf/document_context.h"
#include "pdf/filter_criteria.h"
#include "pdf/page_reading.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "reviewed_pdf.h"

namespace {

using Clock = std::chrono::steady_clock;
using osprevan::pdf::Tables;

constexpr const char* kFiller =
    "Review comments come back into the source where the reviewer put them, and every "
    "change is tracked so that the writer can accept or reject it later on.";

std::string LongDocument(int paragraphs) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document version=\"1\">\n"
      "  <page name=\"1\" kind=\"body\"/>\n  <flow name=\"A\" main=\"yes\" "
      "page=\"1\">\n";
  for (int i = 1; i <= paragraphs; ++i) {
    text += "    <p unique=\"" + std::to_string(i) + "\" format=\"Body\">Mark" + std::to_string(i) +
            "x " + kFiller + "</p>\n";
  }
  return text + "  </flow>\n</document>\n";
}

// A highlight, an underline with a reply, and a note by every twelfth paragraph.
std::string Review(int paragraphs) {
  std::string json = "{\"comments\": [";
  for (int i = 1; i <= paragraphs; i += 12) {
    const std::string mark = "\"Mark" + std::to_string(i) + "x\"";
    if (i > 1) json += ", ";
    json += "{\"kind\": \"highlight\", \"find\": " + mark + "}, ";
    json += "{\"kind\": \"underline\", \"find\": \"source where\", \"occurrence\": " +
            std::to_string(i - 1) + ", \"replies\": [{\"contents\": \"why?\"}]}, ";
    json += "{\"kind\": \"note\", \"find\": " + mark + ", \"contents\": \"see here\"}";
  }
  return json + "]}";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int paragraphs = argc > 1 ? std::atoi(argv[1]) : 2400;
  osprevan::fixtures::ReviewedPdf pdf;
  std::fprintf(stderr, "exporting %d paragraphs and reviewing them...\n", paragraphs);
  if (!pdf.ExportText(LongDocument(paragraphs)) || !pdf.Review(Review(paragraphs))) {
    std::fprintf(stderr, "%s\n", pdf.error().c_str());
    return 1;
  }
  if (!osprevan::pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok()) return 1;
  const std::string path = pdf.annotatedPdf();
  OkDoc* document = osprevan::pdf::OpenPdfByPath(std::u16string(path.begin(), path.end()));
  if (!document) return 1;
  const int32_t pages = Tables().document->PdfPageCount(document);

  std::vector<double> perPage;
  size_t comments = 0;
  {
    osprevan::pdf::FilterCriteria criteria;
    criteria.kindMask = osprevan::pdf::kAllCommentKinds;
    criteria.markedStateMask = osprevan::pdf::kAllMarkedStates;
    criteria.reviewStateMask = osprevan::pdf::kAllReviewStates;
    criteria.migrationStateMask = osprevan::pdf::kAllMigrationStates;
    criteria.acceptedAuthors = {""};
    osprevan::pdf::DocumentContext context;
    context.hasRoleMap = osprevan::pdf::HasRoleMap(document);
    const Clock::time_point start = Clock::now();
    for (int32_t page = 0; page < pages; ++page) {
      const Clock::time_point pageStart = Clock::now();
      osprevan::pdf::ReadPages(context, document, page, page, criteria);
      perPage.push_back(
          std::chrono::duration<double, std::milli>(Clock::now() - pageStart).count());
    }
    const double total = std::chrono::duration<double>(Clock::now() - start).count();
    for (const auto& [page, list] : context.commentsByPage) comments += list.size();
    const size_t tenth = std::max<size_t>(1, perPage.size() / 10);
    const std::vector<double> first(perPage.begin(), perPage.begin() + tenth);
    const std::vector<double> last(perPage.end() - tenth, perPage.end());
    std::printf("%d pages, %zu top-level comments, %.3f s in all (%.1f pages/s)\n", pages, comments,
                total, pages / total);
    std::printf("median ms per page: first tenth %.3f, last tenth %.3f (ratio %.2f)\n",
                Median(first), Median(last), Median(last) / Median(first));
  }
  osprevan::pdf::ClosePdf(document);
  osprevan::pdf::PdfLibraryUnload();
  return 0;
}
