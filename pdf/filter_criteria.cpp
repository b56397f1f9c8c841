#include "pdf/filter_criteria.h"

#include <ctime>
#include <optional>

#include "pdf/annotation_text.h"
#include "pdf/file_times.h"
#include "pdf/filter_dates.h"
#include "pdf/filter_reading.h"
#include "pdf/library_handles.h"
#include "pdf/pdf_comment.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"

namespace osprevan::pdf {

namespace {

// The subtypes the import reads. Atoms belong to the library instance that made them, and the
// library is loaded afresh for every import command, so the list is made again for every scan.
std::vector<ondrelkit::PdfAtom> AuthorScanSubtypes() {
  std::vector<ondrelkit::PdfAtom> subtypes;
  Guarded(
      [&] {
        for (const CommentSubtype& row : kCommentSubtypes)
          subtypes.push_back(Tables().core->PdfAtom(row.name));
        return 0;
      },
      0);
  return subtypes;
}

bool IsScannedSubtype(ondrelkit::PdfAtom subtype, const std::vector<ondrelkit::PdfAtom>& scanned) {
  for (ondrelkit::PdfAtom atom : scanned) {
    if (atom == subtype) return true;
  }
  return false;
}

// The file's creation time as calendar fields in UTC. When the time cannot be read the start
// date stays the library's zero date, so that the default period still covers every comment.
void SetFromCreationTime(const std::u16string& pdfPath, OkDate* date) {
  Tables().dates->PdfDateClear(date);
  const std::optional<std::string> path = support::Utf16ToUtf8(pdfPath);
  const std::optional<FileTime> created = path ? CreationTime(*path) : std::optional<FileTime>{};
  if (!created) return;
  const std::time_t seconds = static_cast<std::time_t>(created->seconds);
  std::tm utc{};
  if (!gmtime_r(&seconds, &utc)) return;
  win::SYSTEMTIME fields;
  fields.wYear = static_cast<uint16_t>(utc.tm_year + 1900);
  fields.wMonth = static_cast<uint16_t>(utc.tm_mon + 1);
  fields.wDay = static_cast<uint16_t>(utc.tm_mday);
  fields.wHour = static_cast<uint16_t>(utc.tm_hour);
  fields.wMinute = static_cast<uint16_t>(utc.tm_min);
  fields.wSecond = static_cast<uint16_t>(utc.tm_sec > 59 ? 59 : utc.tm_sec);
  CalendarToDate(fields, date);
}

// The title of one annotation of a scanned subtype, or nothing for other subtypes. A damaged
// annotation costs its own title only.
std::optional<std::string> ScannedTitle(const OkPage* page, int32_t index,
                                        const std::vector<ondrelkit::PdfAtom>& scanned) {
  const PdfTables& t = Tables();
  OkAnnot* annot = nullptr;
  OkText* title = nullptr;
  std::optional<std::string> author = Guarded(
      [&]() -> std::optional<std::string> {
        annot = t.pages->PdfAnnotAt(page, index);
        if (!IsScannedSubtype(t.pages->PdfAnnotSubtype(annot), scanned)) return std::nullopt;
        title = t.core->PdfTextNew();
        t.pages->PdfAnnotTitle(annot, title);
        return AnnotationTextToUtf8(title);
      },
      std::optional<std::string>{});
  Guarded(
      [&] {
        t.core->PdfRelease(title);
        t.core->PdfRelease(annot);
        return 0;
      },
      0);
  return author;
}

void CollectPageAuthors(const OkDoc* document, int32_t index,
                        const std::vector<ondrelkit::PdfAtom>& scanned, AuthorSet& authors) {
  const PdfTables& t = Tables();
  OkPage* page = Guarded([&] { return t.pages->PdfAcquirePage(document, index); },
                         static_cast<OkPage*>(nullptr));
  if (!page) return;
  const int32_t count = Guarded([&] { return t.pages->PdfAnnotCount(page); }, 0);
  for (int32_t i = 0; i < count; ++i) {
    std::optional<std::string> author = ScannedTitle(page, i, scanned);
    if (author)
      authors.insert(author->empty() ? support::UiString(support::MSG_ANONYMOUS)
                                     : std::move(*author));
  }
  Guarded([&] { return t.pages->PdfReleasePage(page), 0; }, 0);
}

}  // namespace

CriteriaDate::CriteriaDate() {
  if (const OkDatesTable* dates = Tables().dates) date_ = dates->PdfDateNew();
}

CriteriaDate::~CriteriaDate() {
  const OkDatesTable* dates = Tables().dates;
  if (dates && date_) dates->PdfDateFree(LibraryDate(*this));
}

win::SYSTEMTIME CriteriaDate::Calendar() const {
  return DateToCalendar(LibraryDate(*this));
}

void CriteriaDate::SetCalendar(const win::SYSTEMTIME& fields) {
  CalendarToDate(fields, LibraryDate(*this));
}

void PrepareFilterCriteria(const std::u16string& pdfPath, FilterCriteria& criteria) {
  criteria.kindMask = kAllCommentKinds;
  if (criteria.startDate.made()) SetFromCreationTime(pdfPath, LibraryDate(criteria.startDate));
  if (criteria.endDate.made()) Tables().dates->PdfDateSetNow(LibraryDate(criteria.endDate));
  criteria.everyAuthor = true;
  criteria.markedStateMask = kAllMarkedStates;
  criteria.reviewStateMask = kAllReviewStates;
  criteria.migrationStateMask = kAllMigrationStates;
}

void ScanAuthors(const OpenedPdf& pdf, FilterCriteria& criteria) {
  CollectAuthors(LibraryDocument(pdf), criteria.knownAuthors);
  criteria.acceptedAuthors.insert(criteria.knownAuthors.begin(), criteria.knownAuthors.end());
  criteria.acceptedAuthors.insert(support::UiString(support::MSG_ANONYMOUS));
  criteria.everyAuthor = false;
}

void CollectAuthors(OkDoc* document, AuthorSet& authors) {
  const PdfTables& t = Tables();
  if (!document || !t.document || !t.pages) return;
  const std::vector<ondrelkit::PdfAtom> scanned = AuthorScanSubtypes();
  const int32_t pages = Guarded([&] { return t.document->PdfPageCount(document); }, 0);
  // A damaged page costs its own authors only; the scan goes on with the next page.
  for (int32_t index = 0; index < pages; ++index)
    CollectPageAuthors(document, index, scanned, authors);
}

bool KindPasses(uint32_t kind, const FilterCriteria& criteria) {
  return (kind & criteria.kindMask) != 0;
}

bool DatePasses(const OkDate* date, const FilterCriteria& criteria) {
  if (!criteria.dateFilterOn) return true;
  const OkDatesTable* dates = Tables().dates;
  if (!date || !dates || !criteria.startDate.made() || !criteria.endDate.made()) return false;
  OkDate* day = dates->PdfDateClone(date);
  OkDate* start = dates->PdfDateNew();
  dates->PdfDateCopy(LibraryDate(criteria.startDate), start);
  OkDate* end = dates->PdfDateNew();
  dates->PdfDateCopy(LibraryDate(criteria.endDate), end);
  TruncateToDay(day);
  TruncateToDay(start);
  TruncateToDay(end);
  const bool passes =
      dates->PdfDateCompare(day, start) != -1 && dates->PdfDateCompare(day, end) != 1;
  dates->PdfDateFree(day);
  dates->PdfDateFree(start);
  dates->PdfDateFree(end);
  return passes;
}

bool AuthorPasses(const std::string& author, const FilterCriteria& criteria) {
  return criteria.everyAuthor ||
         criteria.acceptedAuthors.count(author.empty() ? support::UiString(support::MSG_ANONYMOUS)
                                                       : author) != 0;
}

bool StatesPass(const PdfComment& comment, const FilterCriteria& criteria) {
  return (comment.markedState() & criteria.markedStateMask) != 0 &&
         (comment.reviewState() & criteria.reviewStateMask) != 0 &&
         (comment.migrationState() & criteria.migrationStateMask) != 0;
}

}  // namespace osprevan::pdf
