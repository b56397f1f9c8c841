#include "pdf/comment_kind.h"

#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

struct KnownNames {
  ondrelkit::PdfAtom strikeOut, deletion, caret, highlight, underline, squiggly, text, freeText,
      irt, rt, group;
};

// Made for each use: a new load of the library numbers its names afresh, and its tables may
// come back at the same address, so no cache can tell an old load's atoms from a new one's.
KnownNames Names() {
  const OkCoreTable* core = Tables().core;
  return {core->PdfAtom("StrikeOut"), core->PdfAtom("Deletion"),  core->PdfAtom("Caret"),
          core->PdfAtom("Highlight"), core->PdfAtom("Underline"), core->PdfAtom("Squiggly"),
          core->PdfAtom("Text"),      core->PdfAtom("FreeText"),  core->PdfAtom("IRT"),
          core->PdfAtom("RT"),        core->PdfAtom("Group")};
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

CommentKind ClassifyComment(ondrelkit::PdfAtom subtype, const OkAnnot* annot) {
  if (!Tables().core) return NotImported;
  const KnownNames& n = Names();
  if (subtype == n.strikeOut || subtype == n.deletion) {
    return IsGroupMember(annot) ? Replace : Delete;
  }
  if (subtype == n.caret) return Insert;
  if (subtype == n.highlight) return Highlight;
  if (subtype == n.underline || subtype == n.squiggly) return Underline;
  if (subtype == n.text || subtype == n.freeText) return Note;
  return NotImported;
}

}  // namespace osprevan::pdf
