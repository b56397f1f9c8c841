// PDF objects as handles.
#include <cmath>
#include <cstring>

#include "poppler/Object.h"
#include "poppler/PDFDoc.h"
#include "poppler/XRef.h"
#include "src/handles.h"
#include "src/operations.h"

OkObj::~OkObj() = default;

namespace ondrelkit {

OkObj* MakeObj(const OkDoc* document, const Object& raw) {
  OkObj* object = New<OkObj>();
  object->document = document;
  if (raw.isRef()) {
    object->ref = raw.getRef();
    object->fetched = document == nullptr;
  } else {
    object->value = raw.copy();
  }
  return object;
}

const Object& ValueOf(const OkObj* object) {
  RequireInitialised();
  if (!object) Raise(kErrBadArgument);
  if (!object->fetched) {
    object->value = Object(object->ref).fetch(object->document->pdf->getXRef());
    object->fetched = true;
  }
  return object->value;
}

namespace {

const Object& Value(const OkObj* object) {
  return ValueOf(object);
}

OkObj* Null() {
  RequireInitialised();
  return New<OkObj>();
}

int32_t Kind(const Object& v) {
  switch (v.getType()) {
    case objBool:
      return kPdfBool;
    case objInt:
    case objInt64:
      return kPdfInt;
    case objReal:
      return kPdfReal;
    case objString:
      return kPdfString;
    case objName:
      return kPdfName;
    case objArray:
      return kPdfArray;
    case objDict:
      return kPdfDict;
    case objStream:
      return kPdfStream;
    default:
      return kPdfNull;
  }
}

int32_t ObjType(const OkObj* object) {
  return Kind(Value(object));
}

int32_t Compare(const OkObj* a, const OkObj* b) {
  RequireInitialised();
  if (!a || !b) Raise(kErrBadArgument);
  // Indirect objects compare by reference, without being read; direct ones by kind, then by
  // value or identity.
  const bool ia = a->ref.num >= 0, ib = b->ref.num >= 0;
  if (ia != ib) return ia ? -1 : 1;
  if (ia) {
    if (a->ref.num != b->ref.num) return a->ref.num < b->ref.num ? -1 : 1;
    if (a->ref.gen != b->ref.gen) return a->ref.gen < b->ref.gen ? -1 : 1;
    return 0;
  }
  const Object& va = Value(a);
  const Object& vb = Value(b);
  const int32_t ka = Kind(va), kb = Kind(vb);
  if (ka != kb) return ka < kb ? -1 : 1;
  switch (ka) {
    case kPdfNull:
      return 0;
    case kPdfBool:
      return va.getBool() == vb.getBool() ? 0 : (va.getBool() ? 1 : -1);
    case kPdfInt:
    case kPdfReal: {
      const double x = va.getNum(), y = vb.getNum();
      return x == y ? 0 : (x < y ? -1 : 1);
    }
    case kPdfName: {
      const int c = std::strcmp(va.getName(), vb.getName());
      return c == 0 ? 0 : (c < 0 ? -1 : 1);
    }
    case kPdfString: {
      const int c = va.getString()->cmp(vb.getString());
      return c == 0 ? 0 : (c < 0 ? -1 : 1);
    }
    default:
      return a == b ? 0 : (std::less<const OkObj*>()(a, b) ? -1 : 1);
  }
}

bool Equal(const OkObj* a, const OkObj* b) {
  return Compare(a, b) == 0;
}

OkObj* DictGet(const OkObj* dict, PdfAtom key) {
  const Object& v = Value(dict);
  const char* name = AtomNameOf(key);
  if (v.isStream()) return MakeObj(dict->document, v.streamGetDict()->lookupNF(name));
  if (!v.isDict()) Raise(kErrWrongType);
  return MakeObj(dict->document, v.dictLookupNF(name));
}

OkObj* ArrayGet(const OkObj* array, int32_t index) {
  const Object& v = Value(array);
  if (!v.isArray()) Raise(kErrWrongType);
  if (index < 0 || index >= v.arrayGetLength()) Raise(kErrBadArgument);
  return MakeObj(array->document, v.arrayGetNF(index));
}

int32_t ArrayLength(const OkObj* array) {
  const Object& v = Value(array);
  if (!v.isArray()) Raise(kErrWrongType);
  return v.arrayGetLength();
}

PdfFixed FixedValue(const OkObj* number) {
  const Object& v = Value(number);
  if (!v.isNum()) Raise(kErrWrongType);
  return FloatToFixed(v.getNum());
}

PdfAtom NameValue(const OkObj* name) {
  const Object& v = Value(name);
  if (!v.isName()) Raise(kErrWrongType);
  return AtomOf(v.getName());
}

const char* StringValue(const OkObj* string, size_t* length) {
  const Object& v = Value(string);
  if (!v.isString()) Raise(kErrWrongType);
  if (length) *length = static_cast<size_t>(v.getString()->getLength());
  return v.getString()->c_str();
}

}  // namespace

PdfFixed FloatToFixed(double value) {
  if (!std::isfinite(value)) Raise(kErrBadArgument);
  const double scaled = std::round(value * 65536.0);
  if (scaled > 2147483647.0 || scaled < -2147483648.0) Raise(kErrBadArgument);
  return static_cast<PdfFixed>(scaled);
}

const OkObjectsTable kObjectsTable = {kOkObjectsVersion, Null,      Equal,      Compare,
                                      ObjType,           DictGet,   ArrayGet,   ArrayLength,
                                      FixedValue,        NameValue, StringValue};

}  // namespace ondrelkit
