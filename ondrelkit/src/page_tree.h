// The page tree as the file holds it, read for the pages Poppler gives up on. Poppler stops
// loading the tree at the first page it cannot make (a /Contents of the wrong type, say), which
// loses every later page too, and takes a /Count above the number of objects for no pages at
// all. Reading the tree here finds those pages again; a page whose dictionary Poppler would
// refuse is still given, so that its annotations can be read, and only its content is refused.
#pragma once

#include <memory>
#include <vector>

#include "poppler/Object.h"
#include "poppler/Page.h"

class PDFDoc;
struct OkDoc;

namespace ondrelkit {

// What a page inherits from the page-tree nodes above it, or holds itself.
struct PageAttributes {
  Object resources;  // a dictionary, or null
  PDFRectangle mediaBox{0, 0, 612, 792};
  PDFRectangle cropBox{0, 0, 0, 0};  // an empty box: the media box
  int rotate = 0;                    // as written; a multiple of 90 is normalised by the reader
};

struct PageTree {
  struct Leaf {
    Object kid;  // as its parent lists it: a reference or a dictionary
    std::shared_ptr<const PageAttributes> inherited;
  };
  std::vector<Leaf> leaves;  // in page order

  // The index (from 0) of the leaf listed by `ref`; -1 when there is none.
  int IndexOf(Ref ref) const;
};

// Every leaf the catalog's page tree reaches, in order, each node once (a tree that lists a node
// again, or itself, is read as if it did not), none deeper than a few hundred levels.
std::unique_ptr<PageTree> ReadPageTree(PDFDoc* pdf);

// The document's page tree, read on first use and kept with the document.
const PageTree& PageTreeOf(const OkDoc* document);

// A page read from the page tree, with Poppler's rules for what it refuses.
struct TreePage {
  Object dict;
  Ref ref = Ref::INVALID();
  PageAttributes attributes;  // the leaf's own entries over what it inherits
  Object annots;              // /Annots unfetched; null when of a type Poppler refuses
  Object contents;            // /Contents unfetched
  bool contentReadable = true;
};

// Leaf `index` (from 0). False when the tree has no such leaf or it is not a dictionary.
bool MakeTreePage(PDFDoc* pdf, const PageTree& tree, int index, TreePage& out);

}  // namespace ondrelkit
