#include "pdf/annotation_handles.h"

#include "pdf/pdf_guard.h"
#include "pdf/pdf_tables.h"

namespace osprevan::pdf {

AnnotationHandles::~AnnotationHandles() {
  const PdfTables& t = Tables();
  // Without a loaded library the handles are gone with it.
  if (!t.core) return;
  Guarded([&] { return t.core->PdfRelease(object), 0; }, 0);
  ReleaseAnnot();
}

void AnnotationHandles::ReleaseAnnot() {
  const PdfTables& t = Tables();
  if (t.core && annot) Guarded([&] { return t.core->PdfRelease(annot), 0; }, 0);
  annot = nullptr;
}

bool AnnotObjectLess::operator()(const OkObj* a, const OkObj* b) const {
  return Tables().objects->PdfObjCompare(a, b) < 0;
}

}  // namespace osprevan::pdf
