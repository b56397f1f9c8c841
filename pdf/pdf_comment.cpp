#include "pdf/pdf_comment.h"

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

PdfComment::~PdfComment() {
  boxes_.clear();
  // A hostile file can chain thousands of replies; the thread is taken apart without recursion
  // so that its depth never costs stack. Each record taken out dies with no thread of its own.
  std::vector<std::unique_ptr<PdfComment>> detached;
  TakeThread(detached);
  while (!detached.empty()) {
    std::unique_ptr<PdfComment> next = std::move(detached.back());
    detached.pop_back();
    next->TakeThread(detached);
  }
  const PdfTables& t = Tables();
  if (date_ && t.dates) Guarded([&] { return t.dates->PdfDateFree(date_), 0; }, 0);
  // Without a loaded library the handles are gone with it.
  if (t.core) {
    Guarded([&] { return t.core->PdfRelease(annotObject_), 0; }, 0);
    Guarded([&] { return t.core->PdfRelease(annot_), 0; }, 0);
  }
}

void PdfComment::TakeThread(std::vector<std::unique_ptr<PdfComment>>& into) {
  for (std::unique_ptr<PdfComment>& reply : replies_) into.push_back(std::move(reply));
  replies_.clear();
  if (replacement_) into.push_back(std::move(replacement_));
}

void PdfComment::SetAuthor(std::string& author) {
  author_ = std::move(author);
  author.clear();
}

void PdfComment::SetContents(std::string& contents) {
  contents_ = std::move(contents);
  contents.clear();
}

bool PdfComment::SetDate(const OkDate* date) {
  const OkDatesTable* dates = Tables().dates;
  if (!dates || !date) return false;
  return Guarded(
      [&] {
        if (!date_) date_ = dates->PdfDateNew();
        dates->PdfDateCopy(date, date_);
        return true;
      },
      false);
}

std::string SubtypeName(const PdfComment& comment) {
  const PdfTables& t = Tables();
  if (!t.core || comment.subtype() == ondrelkit::kNoAtom) return "";
  const char* name = Guarded([&] { return t.core->PdfAtomName(comment.subtype()); },
                             static_cast<const char*>(nullptr));
  return name ? name : "";
}

bool AnnotObjectLess::operator()(const OkObj* a, const OkObj* b) const {
  return Tables().objects->PdfObjCompare(a, b) < 0;
}

}  // namespace osprevan::pdf
