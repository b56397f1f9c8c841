// Which PDF annotations become comments: the criteria of one import, their defaults, and the
// tests the annotation reader applies to every annotation.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "pdf/criteria_date.h"
#include "pdf/opened_pdf.h"

namespace osprevan::pdf {

class PdfComment;

// Author names, ordered byte-wise (std::string compares its bytes as unsigned char).
using AuthorSet = std::set<std::string>;

// One per import command. Owns its two dates, which are freed with it, so every path out of an
// import releases them.
struct FilterCriteria {
  uint32_t kindMask = 0;
  CriteriaDate startDate;
  CriteriaDate endDate;
  // Every author passes, which is what accepting each author of the PDF comes to, without
  // reading every annotation's title first; else only those in `acceptedAuthors` do.
  bool everyAuthor = false;
  AuthorSet acceptedAuthors;
  uint32_t markedStateMask = 0;
  uint32_t reviewStateMask = 0;
  uint32_t migrationStateMask = 0;
  bool dateFilterOn = false;
  // Every author the scan of the PDF found, for the filter dialog's list; emptied once the
  // input step is done with it. Only a custom filter scans.
  AuthorSet knownAuthors;
};

constexpr uint32_t kAllMarkedStates = 3;
constexpr uint32_t kAllReviewStates = 124;
constexpr uint32_t kAllMigrationStates = 896;

// Sets the defaults: all kinds and states, the PDF file's creation time to now, and every
// author. `dateFilterOn` is left as it is.
void PrepareFilterCriteria(const std::u16string& pdfPath, FilterCriteria& criteria);
// Before a custom filter: scans the PDF for its authors, and accepts each of them and the name
// that stands for comments without an author, rather than every author.
void ScanAuthors(const OpenedPdf& pdf, FilterCriteria& criteria);

// The tests of the annotation reader, in the order it applies them (the date's, which reads the
// library's dates, is in pdf/filter_reading.h).
bool KindPasses(uint32_t kind, const FilterCriteria& criteria);
bool AuthorPasses(const std::string& author, const FilterCriteria& criteria);
bool StatesPass(const PdfComment& comment, const FilterCriteria& criteria);

}  // namespace osprevan::pdf
