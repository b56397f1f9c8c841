// The library's handle types.
#pragma once

#include <memory>
#include <string>

#include "poppler/Object.h"
#include "src/memory.h"

class PDFDoc;

struct OkText : ondrelkit::Handle {
  std::u16string units;
};

struct OkPath : ondrelkit::Handle {
  std::u16string path;
};

struct OkFileSys : ondrelkit::Handle {};

struct OkDoc : ondrelkit::Handle {
  std::unique_ptr<PDFDoc> pdf;
  ~OkDoc() override;
};

// A structure element: its dictionary, read from the document it belongs to.
struct OkStructElem : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  Object dict;
  ~OkStructElem() override;
};

// A PDF object: its value, and the reference it was reached through (num < 0 when direct).
struct OkObj : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  Object value;
  Ref ref{-1, -1};
  ~OkObj() override;
};

struct OkPage : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  int index = 0;
  Ref ref{-1, -1};
  Object dict;
  Object annots;  // the /Annots array, or null
  int rotation = 0;
  double box[4] = {0, 0, 0, 0};
  ~OkPage() override;
};

struct OkAnnot : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  Object dict;
  Ref ref{-1, -1};
  ~OkAnnot() override;
};

// A date: seconds since 1970 in UTC.
struct OkDate : ondrelkit::Handle {
  int64_t seconds = 0;
};
