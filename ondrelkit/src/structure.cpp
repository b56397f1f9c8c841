// The structure tree, read from the raw objects so that damaged trees give errors or null
// results, not crashes: every walk is bounded in depth and remembers what it visited.
#include <map>
#include <set>
#include <string>

#include "poppler/Catalog.h"
#include "poppler/PDFDoc.h"
#include "poppler/XRef.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_tree.h"

OkStructElem::~OkStructElem() = default;

namespace ondrelkit {
namespace {

constexpr int kMaxDepth = 64;
constexpr int kMaxVisits = 100000;
constexpr int kRootNum = -2;        // owner key of direct kids of a direct root
constexpr int kParentTreeNum = -3;  // owner key of direct elements in the parent tree

XRef* XRefOf(const OkDoc* document) {
  return document->pdf->getXRef();
}

const OkStructElem* Checked(const OkStructElem* element) {
  RequireInitialised();
  if (!element) Raise(kErrBadArgument);
  return element;
}

// Read once: every page's parent-tree lookup and every kid of the root starts from it.
Object StructTreeRoot(const OkDoc* document, Ref* ref = nullptr) {
  if (!document->structRoot) {
    Object root;
    Object catalog = XRefOf(document)->getCatalog();
    if (catalog.isDict()) {
      const Object& raw = catalog.dictLookupNF("StructTreeRoot");
      document->structRootRef = raw.isRef() ? raw.getRef() : Ref{kRootNum, 0};
      root = raw.fetch(XRefOf(document));
    }
    document->structRoot = root.isDict() ? std::move(root) : Object();
  }
  if (ref) *ref = document->structRootRef;
  return document->structRoot->copy();
}

bool IsStructElem(const Object& dict) {
  if (!dict.isDict() || !dict.dictLookup("S").isName()) return false;
  Object type = dict.dictLookup("Type");
  return !type.isName("MCR") && !type.isName("OBJR") && !type.isName("StructTreeRoot");
}

// The usual marked-content reference, kept as its MCID and page; false for any other kid.
bool StoreMarkedContent(const Object& raw, StoredKid& out) {
  if (!raw.isDict()) return false;
  const int entries = raw.dictGetLength();
  if (entries < 2 || entries > 3) return false;
  const Object& type = raw.dictLookupNF("Type");
  const Object& mcid = raw.dictLookupNF("MCID");
  const Object& page = raw.dictLookupNF("Pg");
  if (!type.isName("MCR") || !mcid.isInt()) return false;
  if (entries == 3 && !page.isRef()) return false;  // a third entry that is no /Pg reference
  out.markedContent = true;
  out.mcid = mcid.getInt();
  out.hasPage = page.isRef();
  if (out.hasPage) out.page = page.getRef();
  return true;
}

void StoreKids(OkStructElem& element, const Object& kids) {
  if (!kids.isArray()) {
    element.kids = kids.copy();
    return;
  }
  const int count = kids.arrayGetLength();
  element.kidArray.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    StoredKid& kid = element.kidArray.emplace_back();
    const Object& raw = kids.arrayGetNF(i);
    if (!StoreMarkedContent(raw, kid)) kid.raw = raw.copy();
  }
  element.kidsInArray = true;
}

// The handle of the structure element that `raw` (an entry as stored, maybe a reference)
// names; null when it is no structure element (marked content, an object reference, junk).
OkStructElem* Intern(const OkDoc* document, const Object& raw, StructKey directKey) {
  StructKey key = directKey;
  if (raw.isRef()) key = {raw.getRef().num, raw.getRef().gen, -1, 0};
  auto found = document->structElems.find(key);
  if (found != document->structElems.end()) return found->second;
  Object dict = raw.fetch(XRefOf(document));
  // What is no element is noted too: every parent chain ends at the tree's root, and reading
  // the root again for each chain costs more than the rest of the climb.
  if (!IsStructElem(dict)) {
    document->structElems.emplace(key, nullptr);
    return nullptr;
  }
  OkStructElem* element = New<OkStructElem>();
  element->document = document;
  element->type = dict.dictLookup("S");
  element->parent = dict.dictLookupNF("P").copy();
  StoreKids(*element, dict.dictLookupNF("K"));
  element->page = dict.dictLookupNF("Pg").copy();
  element->id = dict.dictLookup("ID");
  element->actualText = dict.dictLookup("ActualText");
  if (raw.isRef()) element->ref = raw.getRef();
  try {
    document->structElems.emplace(key, element);
  } catch (...) {
    Delete(element);
    throw;
  }
  return element;
}

StructKey OwnerKey(const OkStructElem* element, int index) {
  return {-1, -1, index, reinterpret_cast<uintptr_t>(element)};
}

// The index-th entry of a /K value: an array of kids, or one kid standing alone.
bool KidAt(const Object& kids, int32_t index, const Object** out) {
  if (kids.isArray()) {
    if (index < 0 || index >= kids.arrayGetLength()) return false;
    *out = &kids.arrayGetNF(index);
    return true;
  }
  if (kids.isNull() || index != 0) return false;
  *out = &kids;
  return true;
}

int32_t KidCount(const Object& kids) {
  if (kids.isArray()) return kids.arrayGetLength();
  return kids.isNull() ? 0 : 1;
}

// A /K value as stored, fetched, or an element's kids as it keeps them.
struct KidsView {
  const Object* raw = nullptr;
  const LibVector<StoredKid>* stored = nullptr;

  int32_t Count() const { return stored ? static_cast<int32_t>(stored->size()) : KidCount(*raw); }
  // The index-th kid as stored (*out), or for a kept marked-content reference its kept form
  // (*kept, with *out null); false past the end.
  bool At(int32_t index, const Object** out, const StoredKid** kept) const {
    *kept = nullptr;
    *out = nullptr;
    if (!stored) return KidAt(*raw, index, out);
    if (index < 0 || index >= Count()) return false;
    const StoredKid& kid = (*stored)[static_cast<size_t>(index)];
    if (kid.markedContent) {
      *kept = &kid;
    } else {
      *out = &kid.raw;
    }
    return true;
  }
};

// The element's kids; `fetched` holds a /K read through its reference while the view is used.
KidsView ViewOf(const OkStructElem* element, Object& fetched) {
  KidsView view;
  if (element->kidsInArray) {
    view.stored = &element->kidArray;
  } else {
    fetched = element->kids.fetch(XRefOf(element->document));
    view.raw = &fetched;
  }
  return view;
}

int32_t PageIndexOf(const OkDoc* document, const Object& pageRef) {
  if (!pageRef.isRef()) return -1;
  const int number = document->pdf->getCatalog()->findPage(pageRef.getRef());
  if (number > 0) return number - 1;
  // A page after one Poppler could not make is still in the page tree.
  return PageTreeOf(document).IndexOf(pageRef.getRef());
}

int32_t PageIndexOf(const OkDoc* document, const StoredKid& kept) {
  return kept.hasPage ? PageIndexOf(document, Object(kept.page)) : -1;
}

// The index-th kid of an element, fetched, with its kind; for marked content, its MCID and its
// /Pg as stored.
struct Kid {
  Object value;
  int32_t kind = kPdfKidDamaged;
  int32_t mcid = -1;
  Object page;
};

Kid KidOf(const OkStructElem* element, int32_t index) {
  Object fetched;
  const KidsView kids = ViewOf(element, fetched);
  const Object* raw = nullptr;
  const StoredKid* kept = nullptr;
  if (!kids.At(index, &raw, &kept)) Raise(kErrBadArgument);
  Kid kid;
  if (kept) {
    if (kept->mcid >= 0) kid.kind = kPdfKidMarkedContent;
    kid.mcid = kept->mcid;
    if (kept->hasPage) kid.page = Object(kept->page);
    return kid;
  }
  if (raw->isInt()) {
    kid.value = raw->copy();
    if (raw->getInt() >= 0) kid.kind = kPdfKidMarkedContent;
    kid.mcid = raw->getInt();
    return kid;
  }
  kid.value = raw->fetch(XRefOf(element->document));
  if (!kid.value.isDict()) return kid;
  Object type = kid.value.dictLookup("Type");
  if (type.isName("MCR")) {
    Object mcid = kid.value.dictLookup("MCID");
    if (mcid.isInt() && mcid.getInt() >= 0) {
      kid.kind = kPdfKidMarkedContent;
      kid.mcid = mcid.getInt();
      kid.page = kid.value.dictLookupNF("Pg").copy();
    }
  } else if (type.isName("OBJR")) {
    if (kid.value.dictLookupNF("Obj").isRef()) kid.kind = kPdfKidObject;
  } else if (IsStructElem(kid.value)) {
    kid.kind = kPdfKidElement;
  }
  return kid;
}

struct Walk {
  std::set<Ref> visited;
  int visits = 0;
  // Set once a limit cut the walk short: what it found from then on may be incomplete, so it
  // is not kept for other walks.
  bool cut = false;
};

int32_t FirstPageUnder(const OkDoc* document, const Object& node, int depth, Walk& walk);

// The first page with content among a node's kids, depth first in kid order; `ownPage` is the
// node's own /Pg.
int32_t FirstPageAmong(const OkDoc* document, int32_t ownPage, const KidsView& kids, int depth,
                       Walk& walk) {
  const int32_t count = kids.Count();
  for (int32_t i = 0; i < count; ++i) {
    const Object* raw = nullptr;
    const StoredKid* kept = nullptr;
    if (!kids.At(i, &raw, &kept)) break;
    if (kept) {  // as a marked-content reference read from the file is taken below
      const int32_t page = PageIndexOf(document, *kept);
      if (page < 0 && ownPage >= 0) return ownPage;
      if (page >= 0) return page;
      continue;
    }
    if (raw->isInt()) {
      if (ownPage >= 0) return ownPage;  // a marked-content id on the element's own page
      continue;
    }
    if (raw->isRef()) {
      if (walk.visited.count(raw->getRef())) continue;
      walk.visited.insert(raw->getRef());
      // A node another walk went through whole answers as it did then: without this, asking
      // each of many elements over one deep or wide subtree would walk it again for each.
      const auto known = document->firstPages.find(raw->getRef());
      if (known != document->firstPages.end()) {
        if (known->second >= 0) return known->second;
        continue;
      }
    }
    // What is no dictionary is kept too, as having nothing under it: fetching a damaged object
    // can cost Poppler a long search every time.
    Object kid = raw->fetch(XRefOf(document));
    int32_t page = -1;
    if (kid.isDict()) {
      Object type = kid.dictLookup("Type");
      if (type.isName("MCR") || type.isName("OBJR")) {
        page = PageIndexOf(document, kid.dictLookupNF("Pg"));
        if (page < 0 && ownPage >= 0) return ownPage;  // the kid's own page stands for it here
      } else {
        page = FirstPageUnder(document, kid, depth + 1, walk);
      }
    }
    if (raw->isRef() && !walk.cut) document->firstPages.emplace(raw->getRef(), page);
    if (page >= 0) return page;
  }
  return -1;
}

// The first page with content under a structure node.
int32_t FirstPageUnder(const OkDoc* document, const Object& node, int depth, Walk& walk) {
  if (depth > kMaxDepth || ++walk.visits > kMaxVisits) {
    walk.cut = true;
    return -1;
  }
  if (!node.isDict()) return -1;
  // A /K that names an array by reference is entered once per walk too: an array that holds a
  // dictionary whose /K names that array again is a loop with no reference among the kids.
  const Object& kids = node.dictLookupNF("K");
  if (kids.isRef() && !walk.visited.insert(kids.getRef()).second) return -1;
  const Object fetched = kids.fetch(XRefOf(document));
  return FirstPageAmong(document, PageIndexOf(document, node.dictLookupNF("Pg")),
                        KidsView{&fetched, nullptr}, depth, walk);
}

// Every entry of a number tree, fetched, the first of a number kept, with a guard against
// cycles and depth.
void CollectNumbers(XRef* xref, const Object& node, int depth, std::set<Ref>& seen,
                    std::map<int, Object>& out) {
  if (depth > kMaxDepth || !node.isDict()) return;
  Object nums = node.dictLookup("Nums");
  if (nums.isArray()) {
    for (int i = 0; i + 1 < nums.arrayGetLength(); i += 2) {
      Object number = nums.arrayGet(i);
      if (number.isInt() && !out.count(number.getInt()))
        out.emplace(number.getInt(), nums.arrayGet(i + 1));
    }
  }
  Object kids = node.dictLookup("Kids");
  if (!kids.isArray()) return;
  for (int i = 0; i < kids.arrayGetLength(); ++i) {
    const Object& raw = kids.arrayGetNF(i);
    if (raw.isRef() && !seen.insert(raw.getRef()).second) continue;
    CollectNumbers(xref, raw.fetch(xref), depth + 1, seen, out);
  }
}

// The parent-tree entry for a page's StructParents number: an array indexed by MCID; null when
// the tree has none.
const Object& ParentTreeEntry(const OkDoc* document, int structParents) {
  if (!document->parentTree) {
    std::map<int, Object> entries;
    Object root = StructTreeRoot(document);
    if (root.isDict()) {
      std::set<Ref> seen;
      CollectNumbers(XRefOf(document), root.dictLookup("ParentTree"), 0, seen, entries);
    }
    document->parentTree = std::move(entries);
  }
  return document->parentTree->try_emplace(structParents).first->second;
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
  Ref rootRef;
  Object root = StructTreeRoot(document, &rootRef);
  if (!root.isDict()) Raise(kErrNoStructure);
  Object kids = root.dictLookup("K");
  const Object* raw = nullptr;
  if (!KidAt(kids, index, &raw)) Raise(kErrBadArgument);
  OkStructElem* element = Intern(document, *raw, {rootRef.num, rootRef.gen, index, 0});
  if (!element) Raise(kErrDamaged);
  return element;
}

OkObj* StructRoleMap(const OkDoc* document) {
  RequireInitialised();
  if (!document) Raise(kErrBadArgument);
  Object root = StructTreeRoot(document);
  if (!root.isDict()) Raise(kErrNoStructure);
  const Object& raw = root.dictLookupNF("RoleMap");
  Object map = raw.fetch(XRefOf(document));
  if (!map.isDict()) return nullptr;
  return MakeObj(document, raw);
}

PdfAtom RoleMapDirect(const OkObj* roleMap, PdfAtom type) {
  RequireInitialised();
  std::string name = AtomNameOf(type);
  if (!roleMap) return type;
  if (!ValueOf(roleMap).isDict()) Raise(kErrWrongType);
  std::set<std::string> seen{name};
  for (int step = 0; step < kMaxDepth; ++step) {
    Object mapped = ValueOf(roleMap).dictLookup(name.c_str());
    if (!mapped.isName() || seen.count(mapped.getName())) break;  // unmapped, or a cycle
    name = mapped.getName();
    seen.insert(name);
  }
  return AtomOf(name.c_str());
}

PdfAtom StructElemType(const OkStructElem* element) {
  const Object& type = Checked(element)->type;
  if (!type.isName()) Raise(kErrDamaged);
  return AtomOf(type.getName());
}

OkStructElem* StructElemParent(const OkStructElem* element) {
  Checked(element);
  const Object& raw = element->parent;
  if (!raw.isRef()) return nullptr;  // parents are indirect; anything else ends the chain
  return Intern(element->document, raw, {});
}

int32_t StructElemKidCount(const OkStructElem* element) {
  Checked(element);
  Object fetched;
  return ViewOf(element, fetched).Count();
}

OkStructElem* StructElemKid(const OkStructElem* element, int32_t index) {
  Checked(element);
  Object fetched;
  const KidsView kids = ViewOf(element, fetched);
  const Object* raw = nullptr;
  const StoredKid* kept = nullptr;
  if (!kids.At(index, &raw, &kept)) Raise(kErrBadArgument);
  // Marked content is no element; a kept reference is not looked up (nor noted as none).
  if (kept || raw->isInt()) return nullptr;
  return Intern(element->document, *raw, OwnerKey(element, index));
}

int32_t StructElemKidKind(const OkStructElem* element, int32_t index) {
  return KidOf(Checked(element), index).kind;
}

int32_t StructElemKidMcid(const OkStructElem* element, int32_t index, int32_t* page) {
  const Kid kid = KidOf(Checked(element), index);
  if (page) *page = -1;
  if (kid.kind != kPdfKidMarkedContent) return -1;
  if (page) {
    const OkDoc* document = element->document;
    *page = PageIndexOf(document, kid.page);
    if (*page < 0) *page = PageIndexOf(document, element->page);
  }
  return kid.mcid;
}

OkObj* StructElemKidObject(const OkStructElem* element, int32_t index) {
  const Kid kid = KidOf(Checked(element), index);
  if (kid.kind != kPdfKidObject) return nullptr;
  return MakeObj(element->document, kid.value.dictLookupNF("Obj"));
}

int32_t StructElemFirstPage(const OkStructElem* element) {
  Checked(element);
  Walk walk;
  if (element->ref.num >= 0) walk.visited.insert(element->ref);
  if (element->kids.isRef()) walk.visited.insert(element->kids.getRef());
  ++walk.visits;
  Object fetched;
  return FirstPageAmong(element->document, PageIndexOf(element->document, element->page),
                        ViewOf(element, fetched), 0, walk);
}

size_t StructElemId(const OkStructElem* element, char* buffer, size_t capacity) {
  Checked(element);
  const Object& id = element->id;
  if (!id.isString()) {
    if (buffer && capacity) buffer[0] = '\0';
    return 0;
  }
  const GooString* bytes = id.getString();
  const size_t full = static_cast<size_t>(bytes->getLength());
  if (buffer && capacity) {
    const size_t cut = full < capacity ? full : capacity - 1;
    std::memcpy(buffer, bytes->c_str(), cut);
    buffer[cut] = '\0';
  }
  return full;
}

OkStructElem* MarkedContentParent(const OkObj* page, int32_t mcid) {
  RequireInitialised();
  if (!page || !page->document) Raise(kErrBadArgument);
  if (!ValueOf(page).isDict()) Raise(kErrWrongType);
  if (mcid < 0) return nullptr;
  Object structParents = ValueOf(page).dictLookup("StructParents");
  if (!structParents.isInt()) return nullptr;
  const Object& entry = ParentTreeEntry(page->document, structParents.getInt());
  if (!entry.isArray() || mcid >= entry.arrayGetLength()) return nullptr;
  return Intern(page->document, entry.arrayGetNF(mcid),
                {kParentTreeNum, structParents.getInt(), mcid, 0});
}

int32_t PageMarkedContentCount(const OkObj* page) {
  RequireInitialised();
  if (!page || !page->document) Raise(kErrBadArgument);
  if (!ValueOf(page).isDict()) Raise(kErrWrongType);
  Object structParents = ValueOf(page).dictLookup("StructParents");
  if (!structParents.isInt()) return 0;
  const Object& entry = ParentTreeEntry(page->document, structParents.getInt());
  return entry.isArray() ? entry.arrayGetLength() : 0;
}

bool StructElemActualText(const OkStructElem* element, OkText* text) {
  Checked(element);
  if (!text) Raise(kErrBadArgument);
  const Object& actual = element->actualText;
  text->units.clear();
  if (!actual.isString()) return false;
  text->units = DecodeTextString(actual.getString()->c_str(),
                                 static_cast<size_t>(actual.getString()->getLength()));
  return true;
}

}  // namespace ondrelkit

#define OK_EXPORT extern "C" __attribute__((visibility("default")))

OK_EXPORT OkStructElem* PdfStructRootKid(const OkDoc* document, int32_t index) {
  return ondrelkit::StructRootKid(document, index);
}
OK_EXPORT OkObj* PdfStructRoleMap(const OkDoc* document) {
  return ondrelkit::StructRoleMap(document);
}
OK_EXPORT ondrelkit::PdfAtom PdfRoleMapDirect(const OkObj* roleMap, ondrelkit::PdfAtom type) {
  return ondrelkit::RoleMapDirect(roleMap, type);
}
OK_EXPORT ondrelkit::PdfAtom PdfStructElemType(const OkStructElem* element) {
  return ondrelkit::StructElemType(element);
}
OK_EXPORT OkStructElem* PdfStructElemParent(const OkStructElem* element) {
  return ondrelkit::StructElemParent(element);
}
OK_EXPORT int32_t PdfStructElemKidCount(const OkStructElem* element) {
  return ondrelkit::StructElemKidCount(element);
}
OK_EXPORT OkStructElem* PdfStructElemKid(const OkStructElem* element, int32_t index) {
  return ondrelkit::StructElemKid(element, index);
}
OK_EXPORT int32_t PdfStructElemKidKind(const OkStructElem* element, int32_t index) {
  return ondrelkit::StructElemKidKind(element, index);
}
OK_EXPORT int32_t PdfStructElemKidMcid(const OkStructElem* element, int32_t index, int32_t* page) {
  return ondrelkit::StructElemKidMcid(element, index, page);
}
OK_EXPORT OkObj* PdfStructElemKidObject(const OkStructElem* element, int32_t index) {
  return ondrelkit::StructElemKidObject(element, index);
}
OK_EXPORT int32_t PdfStructElemFirstPage(const OkStructElem* element) {
  return ondrelkit::StructElemFirstPage(element);
}
OK_EXPORT size_t PdfStructElemId(const OkStructElem* element, char* buffer, size_t capacity) {
  return ondrelkit::StructElemId(element, buffer, capacity);
}
OK_EXPORT OkStructElem* PdfMarkedContentParent(const OkObj* page, int32_t mcid) {
  return ondrelkit::MarkedContentParent(page, mcid);
}
OK_EXPORT int32_t PdfPageMarkedContentCount(const OkObj* page) {
  return ondrelkit::PageMarkedContentCount(page);
}
OK_EXPORT bool PdfStructElemActualText(const OkStructElem* element, OkText* text) {
  return ondrelkit::StructElemActualText(element, text);
}
