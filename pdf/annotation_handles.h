// The library's handles of the annotation a record was read from, held by the record while
// reading needs them and given back before reading hands the records out.
#pragma once

#include "ondrelkit/ondrelkit.h"
#include "pdf/pdf_comment.h"

namespace osprevan::pdf {

struct AnnotationHandles {
  AnnotationHandles(OkAnnot* annot, OkObj* object) : annot(annot), object(object) {}
  // Releases both; without a loaded library they are gone with it.
  ~AnnotationHandles();
  AnnotationHandles(const AnnotationHandles&) = delete;
  AnnotationHandles& operator=(const AnnotationHandles&) = delete;

  // Releases the annotation, keeping the object.
  void ReleaseAnnot();

  // Null once released.
  OkAnnot* annot;
  // The annotation's object: the key under which `commentsByAnnot` holds the record. The page's
  // reference to the annotation where there is one, which holds nothing of its dictionary.
  OkObj* object;
};

// The record's handles, or null for a record without (one read already, or made by hand).
inline const OkAnnot* AnnotOf(const PdfComment& comment) {
  return comment.handles() ? comment.handles()->annot : nullptr;
}
inline const OkObj* AnnotObjectOf(const PdfComment& comment) {
  return comment.handles() ? comment.handles()->object : nullptr;
}

// Orders annotation objects for `commentsByAnnot` by the library's object comparison.
struct AnnotObjectLess {
  bool operator()(const OkObj* a, const OkObj* b) const;
};

// Every record reading has made, by its annotation object (not owning).
using CommentsByAnnot = std::map<const OkObj*, PdfComment*, AnnotObjectLess>;

}  // namespace osprevan::pdf
