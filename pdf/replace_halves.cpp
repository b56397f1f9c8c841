#include "pdf/replace_halves.h"

#include "pdf/annotation_entry.h"
#include "pdf/comment_classification.h"
#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

namespace {

enum class Half { None, Caret, StrikeOut };

Half HalfOf(ondrelkit::PdfAtom subtype) {
  const CommentSubtype* row = FindCommentSubtype(subtype);
  if (!row) return Half::None;
  if (row->kind == Insert) return Half::Caret;
  return row->kind == Delete ? Half::StrikeOut : Half::None;
}

// What the dictionary `object` is, by its Subtype; None for anything else or on an error.
Half HalfOfDictionary(const OkObj* object) {
  const PdfTables& t = Tables();
  OkObj* subtype = Guarded(
      [&]() -> OkObj* {
        if (t.objects->PdfObjType(object) != kPdfDict) return nullptr;
        return t.objects->PdfDictGet(object, t.core->PdfAtom("Subtype"));
      },
      static_cast<OkObj*>(nullptr));
  if (!subtype) return Half::None;
  const Half half = Guarded(
      [&] {
        return t.objects->PdfObjType(subtype) == kPdfName ? HalfOf(t.objects->PdfNameValue(subtype))
                                                          : Half::None;
      },
      Half::None);
  ReleaseHandle(subtype);
  return half;
}

}  // namespace

void ReplaceHalves::Release::operator()(OkObj* object) const {
  ReleaseHandle(object);
}

const OkObj* ReplaceHalves::Keep(OkObj* object) {
  held_.emplace_back(object);
  return object;
}

ReplaceHalves ReplaceHalves::OfPage(const OkPage* page) {
  ReplaceHalves found;
  const PdfTables& t = Tables();
  if (!page || !t.pages || !t.objects || !t.core) return found;
  const int32_t count = Guarded([&] { return t.pages->PdfAnnotCount(page); }, 0);
  for (int32_t index = 0; index < count; ++index) {
    OkAnnot* annot =
        Guarded([&] { return t.pages->PdfAnnotAt(page, index); }, static_cast<OkAnnot*>(nullptr));
    if (!annot) continue;
    const Half half =
        HalfOf(Guarded([&] { return t.pages->PdfAnnotSubtype(annot); }, ondrelkit::kNoAtom));
    const bool grouped = half == Half::StrikeOut ? IsGroupMember(annot)
                         : half == Half::Caret   ? IsNamedGroupMember(annot)
                                                 : false;
    if (grouped) {
      OkObj* named = AnnotEntry(annot, "IRT");
      OkObj* self =
          Guarded([&] { return t.pages->PdfAnnotDict(annot); }, static_cast<OkObj*>(nullptr));
      const Half other = named ? HalfOfDictionary(named) : Half::None;
      if (self && other != Half::None && other != half) {
        const OkObj* partner = found.Keep(named);
        const OkObj* own = found.Keep(self);
        Guarded([&] { return found.halves_.insert(own), found.halves_.insert(partner), 0; }, 0);
      } else {
        ReleaseHandle(named);
        ReleaseHandle(self);
      }
    }
    ReleaseHandle(annot);
  }
  return found;
}

bool ReplaceHalves::Contains(const OkObj* annot) const {
  return annot && Guarded([&] { return halves_.count(annot) != 0; }, false);
}

void ReplaceHalves::AwaitStrikeOut(OkObj* strikeOut, PdfComment* caret) {
  if (!strikeOut) return;
  const OkObj* key = Keep(strikeOut);
  // Of two Carets grouped with one strike-out, the first listed waits for it.
  Guarded([&] { return caretsAwaiting_.emplace(key, caret), 0; }, 0);
}

PdfComment* ReplaceHalves::CaretAwaiting(const OkObj* strikeOut) const {
  if (!strikeOut) return nullptr;
  return Guarded(
      [&]() -> PdfComment* {
        const auto found = caretsAwaiting_.find(strikeOut);
        return found == caretsAwaiting_.end() ? nullptr : found->second;
      },
      static_cast<PdfComment*>(nullptr));
}

}  // namespace osprevan::pdf
