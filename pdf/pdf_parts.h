// The parts of a PDF that were made from one host document each: a document's PDF is one part,
// a book's has one per component, each the kid of the structure tree's top element that holds
// the component's text. The book's import reads the components once and walks them as values.
#pragma once

#include <cstdint>
#include <vector>

#include "pdf/opened_pdf.h"

namespace osprevan::pdf {

// A part's element is the top element itself (a document's PDF).
constexpr int32_t kWholePdf = -1;

struct ReviewPart {
  // The kid of the top element whose blocks are the part's own, or kWholePdf.
  int32_t component = kWholePdf;
  int32_t firstPage = 0;
  int32_t lastPage = -1;  // inclusive; a range past the PDF's last page ends there
  // Walk the content of every page up to the last annotated one, not only of the pages the
  // comments need: the same reading, slower; for checks that hold the two against each other.
  bool walkEveryPage = false;
};

// The whole PDF as one part, from its first page to its last.
ReviewPart WholePdfPart(const OpenedPdf& pdf);

// One kid of a book's top element.
struct BookComponent {
  // A kid without kids of its own has no pages here.
  bool hasKids = false;
  // The first page with content of the kid, or -1 when it has none or it cannot be told.
  int32_t firstPage = -1;
  // Whether its own type is "Document", as a component's must be.
  bool isDocument = false;
};

struct BookComponents {
  int32_t pageCount = 0;
  std::vector<BookComponent> kids;  // in the order of the top element's kids
};

// The kids of the top element; a damaged tree gives kids without kids or pages.
BookComponents ReadBookComponents(const OpenedPdf& pdf);

}  // namespace osprevan::pdf
