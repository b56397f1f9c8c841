#include "pdf/element_classification.h"

#include <cstring>

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {
namespace {

using ondrelkit::PdfAtom;

struct KnownTypes {
  PdfAtom art, sect, td, th, caption, tableTitle, table, tr, tbody, thead, tfoot, note, part;
};

// Made afresh for each element: a library loaded again numbers its names anew, possibly at
// the same address, so atoms kept from an earlier load could name other types. Each
// structure element is classified once per document, so this costs little.
KnownTypes MakeTypes(const OkCoreTable* core) {
  return {core->PdfAtom("Art"),   core->PdfAtom("Sect"),    core->PdfAtom("TD"),
          core->PdfAtom("TH"),    core->PdfAtom("Caption"), core->PdfAtom("TableTitle"),
          core->PdfAtom("Table"), core->PdfAtom("TR"),      core->PdfAtom("TBody"),
          core->PdfAtom("THead"), core->PdfAtom("TFoot"),   core->PdfAtom("Note"),
          core->PdfAtom("Part")};
}

bool NameStartsWith(PdfAtom type, const char* prefix) {
  const char* name = Tables().core->PdfAtomName(type);
  return name && std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

// Only footnotes carry an identifier that begins with "N"; other "Note" elements (a producer's
// own notes) are left alone.
bool IsFootnote(const OkStructElem* element) {
  char first[2] = {};
  const size_t length = Tables().structElemId(element, first, sizeof first);
  return length > 0 && first[0] == 'N';
}

}  // namespace

ElementKind ClassifyElement(PdfAtom ownType, PdfAtom mappedType, const OkStructElem* element) {
  const PdfTables& t = Tables();
  // An element without a type (or a library without tables) is nothing the import knows.
  if (!t.core || !t.structElemId || ownType == ondrelkit::kNoAtom) {
    return ElementKind::NotClassified;
  }
  return Guarded(
      [&] {
        const KnownTypes n = MakeTypes(t.core);
        if (mappedType == n.art) return ElementKind::Section;
        if (mappedType == n.sect && NameStartsWith(ownType, "Section_")) {
          return ElementKind::Section;
        }
        if (ownType == n.td || ownType == n.th) return ElementKind::TableCell;
        if (mappedType == n.caption && ownType == n.tableTitle) return ElementKind::TableTitle;
        if (ownType == n.table) return ElementKind::Table;
        if (ownType == n.tr) return ElementKind::TableRow;
        if (mappedType == n.tbody) return ElementKind::TableBody;
        if (mappedType == n.thead) return ElementKind::TableHeading;
        if (mappedType == n.tfoot) return ElementKind::TableFooting;
        if (ownType == n.note && element && IsFootnote(element)) return ElementKind::Footnote;
        if (mappedType == n.part) return ElementKind::BookPart;
        return ElementKind::NotClassified;
      },
      ElementKind::NotClassified);
}

}  // namespace osprevan::pdf
