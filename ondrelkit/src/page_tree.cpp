#include "src/page_tree.h"

#include <algorithm>
#include <set>
#include <utility>

#include "poppler/PDFDoc.h"
#include "poppler/XRef.h"
#include "src/handles.h"

namespace ondrelkit {
namespace {

// Deeper than any tree a writer makes; a chain of nodes beyond it is damage.
constexpr int kMostDepth = 256;

// A rectangle entry of four numbers, its corners put in order; false for anything else.
bool ReadBox(const Object& dict, const char* key, PDFRectangle& box) {
  Object array = dict.dictLookup(key);
  if (!array.isArray() || array.arrayGetLength() != 4) return false;
  double v[4];
  for (int i = 0; i < 4; ++i) {
    Object number = array.arrayGet(i);
    if (!number.isNum()) return false;
    v[i] = number.getNum();
  }
  box = {std::min(v[0], v[2]), std::min(v[1], v[3]), std::max(v[0], v[2]), std::max(v[1], v[3])};
  return true;
}

// `node`'s own entries over `inherited`.
PageAttributes Merge(const PageAttributes* inherited, const Object& node) {
  PageAttributes attributes;
  if (inherited) {
    attributes.resources = inherited->resources.copy();
    attributes.mediaBox = inherited->mediaBox;
    attributes.cropBox = inherited->cropBox;
    attributes.rotate = inherited->rotate;
  }
  Object resources = node.dictLookup("Resources");
  if (resources.isDict()) attributes.resources = std::move(resources);
  ReadBox(node, "MediaBox", attributes.mediaBox);
  ReadBox(node, "CropBox", attributes.cropBox);
  Object rotate = node.dictLookup("Rotate");
  if (rotate.isInt()) attributes.rotate = rotate.getInt();
  return attributes;
}

class TreeReader {
 public:
  explicit TreeReader(PDFDoc* pdf) : xref_(pdf->getXRef()) {}

  void Node(const Object& listed, const std::shared_ptr<const PageAttributes>& inherited, int depth,
            PageTree& tree) {
    if (depth > kMostDepth) return;
    if (listed.isRef()) {
      const Ref ref = listed.getRef();
      if (!seen_.insert({ref.num, ref.gen}).second) return;
    }
    Object node = listed.fetch(xref_);
    if (!node.isDict()) return;
    Object kids = node.dictLookup("Kids");
    // A dictionary without kids is a page, as Poppler takes it, whatever its /Type.
    if (node.isDict("Page") || !kids.isArray()) {
      if (depth > 0) tree.leaves.push_back({listed.copy(), inherited});
      return;
    }
    auto attributes = std::make_shared<const PageAttributes>(Merge(inherited.get(), node));
    for (int i = 0; i < kids.arrayGetLength(); ++i)
      Node(kids.arrayGetNF(i), attributes, depth + 1, tree);
  }

 private:
  XRef* xref_;
  std::set<std::pair<int, int>> seen_;
};

bool IsRefArrayOrNull(const Object& object) {
  return object.isRef() || object.isArray() || object.isNull();
}

}  // namespace

int PageTree::IndexOf(Ref ref) const {
  for (size_t i = 0; i < leaves.size(); ++i) {
    if (leaves[i].kid.isRef() && leaves[i].kid.getRef() == ref) return static_cast<int>(i);
  }
  return -1;
}

std::unique_ptr<PageTree> ReadPageTree(PDFDoc* pdf) {
  auto tree = std::make_unique<PageTree>();
  Object catalog = pdf->getXRef()->getCatalog();
  if (!catalog.isDict()) return tree;
  TreeReader reader(pdf);
  reader.Node(catalog.dictLookupNF("Pages"), nullptr, 0, *tree);
  return tree;
}

const PageTree& PageTreeOf(const OkDoc* document) {
  if (!document->pageTree) document->pageTree = ReadPageTree(document->pdf.get());
  return *document->pageTree;
}

bool MakeTreePage(PDFDoc* pdf, const PageTree& tree, int index, TreePage& out) {
  if (index < 0 || static_cast<size_t>(index) >= tree.leaves.size()) return false;
  const PageTree::Leaf& leaf = tree.leaves[static_cast<size_t>(index)];
  out.dict = leaf.kid.fetch(pdf->getXRef());
  if (!out.dict.isDict()) return false;
  out.ref = leaf.kid.isRef() ? leaf.kid.getRef() : Ref::INVALID();
  out.attributes = Merge(leaf.inherited.get(), out.dict);
  // Poppler's rules for a page: /Annots and /Contents are references, arrays or absent; a
  // wrong /Annots loses both, a wrong /Contents the content alone.
  out.annots = out.dict.dictLookupNF("Annots").copy();
  out.contents = out.dict.dictLookupNF("Contents").copy();
  if (!IsRefArrayOrNull(out.annots)) {
    out.annots.setToNull();
    out.contentReadable = false;
  }
  if (!IsRefArrayOrNull(out.contents)) out.contentReadable = false;
  return true;
}

}  // namespace ondrelkit
