#include "pdf/comment_classification.h"

#include "pdf/pdf_guard.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

struct KnownNames {
  ondrelkit::PdfAtom irt, rt, group;
};

// Atoms are asked for at each use: a new load of the library numbers its names afresh, and its
// tables may come back at the same address, so no cache can tell an old load's atoms from a
// new one's.
KnownNames Names() {
  const OkCoreTable* core = Tables().core;
  return {core->PdfAtom("IRT"), core->PdfAtom("RT"), core->PdfAtom("Group")};
}

enum class Grouping { None, Implied, Named };

// How the annotation's IRT and RT group it: not at all (no IRT, or RT names another relation),
// by RT's default (absent), or by RT /Group.
Grouping GroupingOf(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  if (!annot || !t.pages) return Grouping::None;
  return Guarded(
      [&] {
        const KnownNames& n = Names();
        OkObj* dict = t.pages->PdfAnnotDict(annot);
        OkObj* irt = t.objects->PdfDictGet(dict, n.irt);
        OkObj* rt = t.objects->PdfDictGet(dict, n.rt);
        Grouping grouping = Grouping::None;
        if (t.objects->PdfObjType(irt) != kPdfNull) {
          const int32_t rtType = t.objects->PdfObjType(rt);
          if (rtType == kPdfNull) {
            grouping = Grouping::Implied;
          } else if (rtType == kPdfName && t.objects->PdfNameValue(rt) == n.group) {
            grouping = Grouping::Named;
          }
        }
        for (OkObj* o : {dict, irt, rt}) t.core->PdfRelease(o);
        return grouping;
      },
      Grouping::None);
}

}  // namespace

bool IsGroupMember(const OkAnnot* annot) {
  return GroupingOf(annot) != Grouping::None;
}

bool IsNamedGroupMember(const OkAnnot* annot) {
  return GroupingOf(annot) == Grouping::Named;
}

const CommentSubtype* FindCommentSubtype(ondrelkit::PdfAtom subtype) {
  const OkCoreTable* core = Tables().core;
  if (!core || subtype == ondrelkit::kNoAtom) return nullptr;
  for (const CommentSubtype& row : kCommentSubtypes) {
    if (Guarded([&] { return core->PdfAtom(row.name); }, ondrelkit::kNoAtom) == subtype)
      return &row;
  }
  return nullptr;
}

CommentKind ClassifyComment(ondrelkit::PdfAtom subtype, const OkAnnot* annot) {
  const CommentSubtype* row = FindCommentSubtype(subtype);
  if (!row) return NotImported;
  return row->kind == Delete && IsGroupMember(annot) ? Replace : row->kind;
}

}  // namespace osprevan::pdf
