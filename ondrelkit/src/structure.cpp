// The structure tree, read from the raw objects so that damaged trees give errors, not crashes.
#include <string>

#include "poppler/PDFDoc.h"
#include "poppler/XRef.h"
#include "src/handles.h"
#include "src/operations.h"

OkStructElem::~OkStructElem() = default;

namespace ondrelkit {
namespace {

// The kids of a structure node (/K): one object, or an array of them.
Object Kids(const Object& node, XRef* xref) {
  if (!node.isDict()) return Object();
  return node.dictLookup("K");
}

Object StructTreeRoot(const OkDoc* document) {
  XRef* xref = document->pdf->getXRef();
  Object catalog = xref->getCatalog();
  if (!catalog.isDict()) return Object();
  Object root = catalog.dictLookup("StructTreeRoot");
  return root.isDict() ? std::move(root) : Object();
}

// The i-th kid of a node that is a structure element (a dictionary with /S).
OkStructElem* ElementKid(const OkDoc* document, const Object& node, int32_t index) {
  XRef* xref = document->pdf->getXRef();
  Object kids = Kids(node, xref);
  Object kid;
  if (kids.isArray()) {
    if (index < 0 || index >= kids.arrayGetLength()) Raise(kErrBadArgument);
    kid = kids.arrayGet(index);
  } else if (index == 0 && kids.isDict()) {
    kid = std::move(kids);
  } else {
    Raise(kErrBadArgument);
  }
  if (!kid.isDict() || !kid.dictLookup("S").isName()) Raise(kErrDamaged);
  OkStructElem* element = New<OkStructElem>();
  element->document = document;
  element->dict = std::move(kid);
  return element;
}

}  // namespace

bool StructRoot(const OkDoc* document) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  return StructTreeRoot(document).isDict();
}

OkStructElem* StructRootKid(const OkDoc* document, int32_t index) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  Object root = StructTreeRoot(document);
  if (!root.isDict()) Raise(kErrNoStructure);
  return ElementKid(document, root, index);
}

PdfAtom StructElemType(const OkStructElem* element) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  Object type = element->dict.dictLookup("S");
  if (!type.isName()) Raise(kErrDamaged);
  return AtomOf(type.getName());
}

}  // namespace ondrelkit

extern "C" {

__attribute__((visibility("default"))) OkStructElem* PdfStructRootKid(const OkDoc* document,
                                                                      int32_t index) {
  return ondrelkit::StructRootKid(document, index);
}

__attribute__((visibility("default"))) ondrelkit::PdfAtom PdfStructElemType(
    const OkStructElem* element) {
  return ondrelkit::StructElemType(element);
}
}
