#include "pdf/comment_kind.h"

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

}  // namespace

bool IsGroupMember(const OkAnnot* annot) {
  const PdfTables& t = Tables();
  if (!annot || !t.pages) return false;
  try {
    const KnownNames& n = Names();
    OkObj* dict = t.pages->PdfAnnotDict(annot);
    OkObj* irt = t.objects->PdfDictGet(dict, n.irt);
    OkObj* rt = t.objects->PdfDictGet(dict, n.rt);
    bool member = false;
    if (t.objects->PdfObjType(irt) != kPdfNull) {
      const int32_t rtType = t.objects->PdfObjType(rt);
      member = rtType == kPdfNull || (rtType == kPdfName && t.objects->PdfNameValue(rt) == n.group);
    }
    for (OkObj* o : {dict, irt, rt}) t.core->PdfRelease(o);
    return member;
  } catch (const ondrelkit::PdfError& error) {
    RecordPdfError(error.code());
    return false;
  }
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
