// The library's handle types.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "poppler/Object.h"
#include "src/memory.h"
#include "src/read_ahead.h"

class PDFDoc;
namespace ondrelkit {
struct PageContent;
struct PageTree;
struct TreePage;
}  // namespace ondrelkit

struct OkText : ondrelkit::Handle {
  std::u16string units;
};

struct OkPath : ondrelkit::Handle {
  std::u16string path;
};

struct OkFileSys : ondrelkit::Handle {};

struct OkStructElem;

namespace ondrelkit {
// One kid of a structure element as the element keeps it: as stored, or, for a marked-content
// reference of the usual shape (/Type /MCR, an integer /MCID, maybe a /Pg reference, nothing
// else), only its MCID and page. Most of a tagged document's kids are such references; kept as
// parsed dictionaries they took more memory than everything else the structure holds.
struct StoredKid {
  Object raw;  // as stored; null for a kept marked-content reference
  Ref page{-1, -1};
  int32_t mcid = -1;
  bool markedContent = false;
  bool hasPage = false;
};
}  // namespace ondrelkit

// Where a structure element was found: its reference; for a direct dictionary, what holds it
// and its place there. A kid of an element is held by that element's handle (`owner`), which is
// unique even when the element is itself direct and so has no reference to tell it apart.
struct StructKey {
  int num = -1, gen = -1, index = -1;
  uintptr_t owner = 0;
  auto operator<=>(const StructKey&) const = default;
};

struct OkDoc : ondrelkit::Handle {
  // The file's bytes when it was read whole into memory (see OpenDoc); the document reads from
  // them, so they go after it.
  std::vector<char> bytes;
  std::unique_ptr<PDFDoc> pdf;
  // Structure elements handed out, one per element, freed with the document; null where what
  // was looked up is no element.
  mutable std::map<StructKey, OkStructElem*> structElems;
  // The structure tree's root dictionary (null without one) and its reference, read once.
  mutable std::optional<Object> structRoot;
  mutable Ref structRootRef{-1, -1};
  // The parent tree's entries, fetched, by StructParents number; read whole at the first
  // lookup: one page at a time, a flat tree would be read again for every page.
  mutable std::optional<std::map<int, Object>> parentTree;
  // The first page with content under each structure node met by a reference, as far as a
  // walk found it whole (-1: none): each node is walked once, however many elements ask.
  mutable std::map<Ref, int32_t> firstPages;
  // The page tree as the file holds it, read when Poppler first cannot give a page.
  mutable std::unique_ptr<ondrelkit::PageTree> pageTree;
  // Set when Poppler rebuilt the cross-reference table, at opening or later: pages read ahead
  // on another document would no longer read as this one reads them. Shared with the repair
  // callback, which is made before the document; only the client's thread reads this
  // document, so a plain flag serves.
  std::shared_ptr<bool> repaired = std::make_shared<bool>(false);
  // Last, so that its thread has stopped before the bytes and the file go.
  mutable ondrelkit::ReadAheadState readAhead;
  ~OkDoc() override;
};

// A structure element: its dictionary, read from the document it belongs to.
// A structure element keeps only the entries the library reads, not its whole dictionary: a
// document holds every element it was asked about until it is closed, tens of thousands in a
// long one.
struct OkStructElem : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  Object type;    // /S
  Object parent;  // /P as stored
  // /K: a direct array is kept kid by kid in `kidArray`; anything else as stored in `kids` (a
  // reference is read where it is used).
  Object kids;
  ondrelkit::LibVector<ondrelkit::StoredKid> kidArray;
  bool kidsInArray = false;
  Object page;        // /Pg as stored
  Object id;          // /ID
  Object actualText;  // /ActualText
  Ref ref{-1, -1};
  bool OwnedByDocument() const override { return true; }
  ~OkStructElem() override;
};

// A PDF object: its value, and the reference it was reached through (num < 0 when direct).
// An indirect object is read from the file only when its value is first asked for (see
// ondrelkit::ValueOf): handles of references are often only compared, by reference, and a
// parsed annotation kept for each of thousands of comments adds up.
struct OkObj : ondrelkit::Handle {
  const OkDoc* document = nullptr;
  mutable Object value;
  mutable bool fetched = true;
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
  ondrelkit::PageContent* content = nullptr;  // interpreted on first request
  // The page as read from the page tree when Poppler could not give it; null otherwise.
  std::unique_ptr<ondrelkit::TreePage> treePage;
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
