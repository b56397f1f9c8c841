#include "pdf/annotation_entry.h"

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

OkObj* AnnotEntry(const OkAnnot* annot, const char* key) {
  const PdfTables& t = Tables();
  OkObj* dict = nullptr;
  OkObj* entry = Guarded(
      [&] {
        dict = t.pages->PdfAnnotDict(annot);
        return t.objects->PdfDictGet(dict, t.core->PdfAtom(key));
      },
      static_cast<OkObj*>(nullptr));
  ReleaseHandle(dict);
  return entry;
}

void ReleaseHandle(void* handle) {
  const OkCoreTable* core = Tables().core;
  if (handle && core) Guarded([&] { return core->PdfRelease(handle), 0; }, 0);
}

}  // namespace osprevan::pdf
