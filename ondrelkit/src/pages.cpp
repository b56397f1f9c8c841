// Pages and their annotations, read from the raw page and annotation dictionaries.
#include <algorithm>

#include "poppler/Catalog.h"
#include "poppler/PDFDoc.h"
#include "poppler/Page.h"
#include "poppler/XRef.h"
#include "src/content_tree.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_tree.h"

OkPage::~OkPage() {
  ondrelkit::Delete(content);
}
OkAnnot::~OkAnnot() = default;

namespace ondrelkit {
namespace {

const OkPage* Checked(const OkPage* page) {
  RequireInitialised();
  if (!page) Raise(kErrBadArgument);
  return page;
}

const OkAnnot* Checked(const OkAnnot* annot) {
  RequireInitialised();
  if (!annot) Raise(kErrBadArgument);
  return annot;
}

// Rotation is a multiple of 90, normalised into 0..270.
int NormalRotation(int rotate) {
  return ((rotate % 360) + 360) % 360;
}

void SetBox(OkPage* out, const PDFRectangle& box) {
  out->box[0] = std::min(box.x1, box.x2);
  out->box[1] = std::min(box.y1, box.y2);
  out->box[2] = std::max(box.x1, box.x2);
  out->box[3] = std::max(box.y1, box.y2);
}

// A page Poppler could not give, read from the page tree.
OkPage* AcquireTreePage(const OkDoc* document, int32_t index) {
  auto page = std::make_unique<TreePage>();
  if (!MakeTreePage(document->pdf.get(), PageTreeOf(document), index, *page)) Raise(kErrDamaged);
  OkPage* out = New<OkPage>();
  out->document = document;
  out->index = index;
  out->ref = page->ref;
  out->dict = page->dict.copy();
  out->annots = page->annots.fetch(document->pdf->getXRef());
  const PageAttributes& attributes = page->attributes;
  // A multiple of 90 is read as Poppler reads it; any other rotation as none.
  out->rotation = attributes.rotate % 90 == 0 ? NormalRotation(attributes.rotate) : 0;
  // The crop box clipped to the media box, as Poppler clips it.
  PDFRectangle box = attributes.mediaBox;
  if (attributes.cropBox.isValid()) {
    box.x1 = std::max(box.x1, attributes.cropBox.x1);
    box.y1 = std::max(box.y1, attributes.cropBox.y1);
    box.x2 = std::min(box.x2, attributes.cropBox.x2);
    box.y2 = std::min(box.y2, attributes.cropBox.y2);
  }
  SetBox(out, box);
  out->treePage = std::move(page);
  return out;
}

OkPage* AcquirePage(const OkDoc* document, int32_t index) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  if (index < 0 || index >= PageCount(document)) Raise(kErrBadArgument);
  Page* page = document->pdf->getPage(index + 1);
  if (!page) return AcquireTreePage(document, index);
  OkPage* out = New<OkPage>();
  out->document = document;
  out->index = index;
  out->ref = page->getRef();
  XRef* xref = document->pdf->getXRef();
  out->dict = xref->fetch(out->ref);
  out->annots = page->getAnnotsObject(xref);
  out->rotation = NormalRotation(page->getRotate());
  SetBox(out, *page->getCropBox());
  return out;
}

void ReleasePage(OkPage* page) {
  RequireInitialised();
  Release(page);
}

OkObj* PageObject(const OkPage* page) {
  Checked(page);
  OkObj* object = New<OkObj>();
  object->document = page->document;
  object->ref = page->ref;
  object->value = page->dict.copy();
  return object;
}

int32_t PageRotation(const OkPage* page) {
  return Checked(page)->rotation;
}

void PageBox(const OkPage* page, PdfFixed box[4]) {
  Checked(page);
  if (!box) Raise(kErrBadArgument);
  for (int i = 0; i < 4; ++i) box[i] = FloatToFixed(page->box[i]);
}

int32_t AnnotCount(const OkPage* page) {
  Checked(page);
  return page->annots.isArray() ? page->annots.arrayGetLength() : 0;
}

OkAnnot* AnnotAt(const OkPage* page, int32_t index) {
  Checked(page);
  if (index < 0 || index >= AnnotCount(page)) Raise(kErrBadArgument);
  const Object& raw = page->annots.arrayGetNF(index);
  Object dict = raw.fetch(page->document->pdf->getXRef());
  if (!dict.isDict()) Raise(kErrWrongType);
  OkAnnot* annot = New<OkAnnot>();
  annot->document = page->document;
  annot->dict = std::move(dict);
  if (raw.isRef()) annot->ref = raw.getRef();
  return annot;
}

PdfAtom AnnotSubtype(const OkAnnot* annot) {
  Object subtype = Checked(annot)->dict.dictLookup("Subtype");
  if (!subtype.isName()) Raise(kErrWrongType);
  return AtomOf(subtype.getName());
}

void AnnotRect(const OkAnnot* annot, PdfFixed rect[4]) {
  Object array = Checked(annot)->dict.dictLookup("Rect");
  if (!rect) Raise(kErrBadArgument);
  if (!array.isArray() || array.arrayGetLength() != 4) Raise(kErrWrongType);
  double v[4];
  for (int i = 0; i < 4; ++i) {
    Object n = array.arrayGet(i);
    if (!n.isNum()) Raise(kErrWrongType);
    v[i] = n.getNum();
  }
  rect[0] = FloatToFixed(std::min(v[0], v[2]));
  rect[1] = FloatToFixed(std::min(v[1], v[3]));
  rect[2] = FloatToFixed(std::max(v[0], v[2]));
  rect[3] = FloatToFixed(std::max(v[1], v[3]));
}

OkObj* AnnotDict(const OkAnnot* annot) {
  Checked(annot);
  OkObj* object = New<OkObj>();
  object->document = annot->document;
  object->ref = annot->ref;
  object->value = annot->dict.copy();
  return object;
}

void TextEntry(const OkAnnot* annot, const char* key, OkText* text) {
  Checked(annot);
  if (!text) Raise(kErrBadArgument);
  Object value = annot->dict.dictLookup(key);
  text->units.clear();
  if (value.isString()) {
    text->units = DecodeTextString(value.getString()->c_str(),
                                   static_cast<size_t>(value.getString()->getLength()));
  }
}

void AnnotTitle(const OkAnnot* annot, OkText* text) {
  TextEntry(annot, "T", text);
}
void AnnotContents(const OkAnnot* annot, OkText* text) {
  TextEntry(annot, "Contents", text);
}

}  // namespace

const OkPagesTable kPagesTable = {
    kOkPagesVersion, AcquirePage,  ReleasePage, PageObject, PageRotation, PageBox,      AnnotCount,
    AnnotAt,         AnnotSubtype, AnnotRect,   AnnotDict,  AnnotTitle,   AnnotContents};

}  // namespace ondrelkit
