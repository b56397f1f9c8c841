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
