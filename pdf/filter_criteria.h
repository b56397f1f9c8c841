// Which PDF annotations become comments: the criteria of one import, their defaults, and the
// tests the annotation reader applies to every annotation.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

class PdfComment;

// Author names, ordered byte-wise (std::string compares its bytes as unsigned char).
using AuthorSet = std::set<std::string>;

// One per import command. Owns its two dates: made with PdfDateNew when constructed (null when
// the PDF library is not loaded) and freed on destruction, so every path out of an import
// releases them.
struct FilterCriteria {
  FilterCriteria();
  ~FilterCriteria();
  FilterCriteria(const FilterCriteria&) = delete;
  FilterCriteria& operator=(const FilterCriteria&) = delete;

  uint32_t kindMask = 0;
  OkDate* startDate = nullptr;
  OkDate* endDate = nullptr;
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
void ScanAuthors(OkDoc* document, FilterCriteria& criteria);
// Adds to `authors` the titles of every annotation of a known subtype.
void CollectAuthors(OkDoc* document, AuthorSet& authors);

// The tests of the annotation reader, in the order it applies them.
bool KindPasses(uint32_t kind, const FilterCriteria& criteria);
// Whole days, both ends included; a null date fails while the date test is on.
bool DatePasses(const OkDate* date, const FilterCriteria& criteria);
bool AuthorPasses(const std::string& author, const FilterCriteria& criteria);
bool StatesPass(const PdfComment& comment, const FilterCriteria& criteria);

}  // namespace osprevan::pdf
