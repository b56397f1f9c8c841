// What reading the PDF keeps over one import and, cleared after each document, for the
// document being imported: its comments by page and by annotation, the content elements of
// its pages, and the values of the page being read.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/annotation_handles.h"
#include "pdf/content_element.h"
#include "pdf/page_geometry.h"
#include "pdf/page_owners.h"
#include "pdf/replace_halves.h"
#include "pdf/unread_annotation.h"
#include "support/phase_times.h"

namespace osprevan::pdf {

// Content elements by the page on which their text starts, in the order they were made.
using ElementsByPage = std::map<int32_t, std::vector<ContentElement*>>;

// One BlockStart/BlockEnd pair of a structured document's PDF and the elements they stand in.
// The end fields stay null while the block is open or when its end was never found.
struct StructureBlock {
  const OkStructElem* startElement = nullptr;
  const OkStructElem* startParent = nullptr;
  const OkStructElem* endElement = nullptr;
  const OkStructElem* endParent = nullptr;
};

// The content elements that share one chain of classified ancestors.
struct ContentGroup {
  ContentElement* last = nullptr;
  const OkStructElem* lastStructElem = nullptr;  // the structure element of `last`
  uint32_t count = 0;                            // elements in the group
  uint32_t outsideBlocks = 1;                    // the next containerCount
};

class DocumentContext {
 public:
  // Makes the paragraph types as atoms of the loaded PDF library (none when it is not loaded).
  DocumentContext();
  ~DocumentContext();
  DocumentContext(const DocumentContext&) = delete;
  DocumentContext& operator=(const DocumentContext&) = delete;

  // Empties everything kept for one document; what holds for the whole import stays.
  void Clear();

  // For the whole import.
  // Structure types that stand for a paragraph of the source: "P", "LI", "ListItem",
  // "Caption", "Index", "H", "H1" to "H9", "TOCI".
  std::vector<ondrelkit::PdfAtom> paragraphTypes;
  // Each structure element's own type and its type under the role map, by element, read once:
  // every marked-content sequence climbs the same elements to the root.
  std::unordered_map<const OkStructElem*, std::pair<ondrelkit::PdfAtom, ondrelkit::PdfAtom>>
      elementTypes;
  bool hasRoleMap = false;
  // The open PDF (not owned): the content walk takes the role map from it.
  const OkDoc* document = nullptr;
  // The blocks of the document, in the order their starts were found (a deque, so that the
  // span map's pointers stay valid as blocks are added), and the "Span" elements met inside
  // each.
  std::deque<StructureBlock> blocks;
  std::map<const OkStructElem*, const StructureBlock*> blockSpans;
  // The name of the last block while it is open: blocks may start in one branch of the
  // structure tree and end in another, so this outlives one walk.
  std::optional<std::string> openBlockName;

  // The page being read.
  int32_t pageIndex = -1;
  PageValues page;

  // Comments. The page lists own the top-level records; records that the state filter took
  // out of their lists are kept in `filteredOut` and stay in `commentsByAnnot`.
  CommentsByPage commentsByPage;
  CommentsByAnnot commentsByAnnot;
  std::vector<std::unique_ptr<PdfComment>> filteredOut;
  // The last annotation classified was the strike-out of a replace: the Caret right after it
  // passes the kind filter as part of the replace.
  bool lastReadWasReplace = false;
  // The halves of the replaces of the page being read.
  ReplaceHalves replaceHalves;
  // The grouped strike-out that waits for the Caret of its replace.
  PdfComment* pendingReplace = nullptr;
  bool replaceWaiting = false;
  // Drawings with a reviewer's place and words that the import takes no kind of (a square, an
  // ink stroke), by subtype name, when the filter's dates and authors pass them.
  std::map<std::string, int32_t> unreadKinds;
  // Annotations the import could not read, each with its page and why, in the order met.
  std::vector<UnreadAnnotation> unreadAnnotations;
  // Records whose review states an annotation of the current page changed; the state filter
  // looks at these besides the current page's list.
  std::set<PdfComment*> statesChanged;

  // Content elements (owned here), their groups by chain and the entries of the chains.
  std::vector<std::unique_ptr<ContentElement>> elements;
  ElementsByPage elementsByPage;
  std::map<const ElementEntry*, ContentGroup> groups;
  // Classified and unclassified structure elements alike, so each is classified once.
  std::map<const OkStructElem*, std::unique_ptr<ElementEntry>> entries;
  // The paragraph-level structure element of each content element: reading's own, so that
  // the elements it gives out hold nothing of the library's.
  std::unordered_map<const ContentElement*, const OkStructElem*> structElems;
  const OkStructElem* StructElemOf(const ContentElement* element) const {
    const auto found = structElems.find(element);
    return found == structElems.end() ? nullptr : found->second;
  }
  // The role map of the PDF's structure tree (owned); null without one.
  OkObj* roleMap = nullptr;
  // The elements that have characters on the page being read, in the order the walk met them;
  // their boxes are kept until the page is finished.
  std::vector<ContentElement*> pageElements;
  // The owners the walk of the current page met, to be held against what the parent tree told.
  PageOwners pageOwners;
  // What the counts made for pages whose content was not walked: no element of the document,
  // kept only so that a chain's last element stays one while its paragraph runs on.
  std::vector<std::unique_ptr<ContentElement>> unwalked;
  // The walk carries this from run to run and from page to page.
  uint32_t offset = 0;

  // How long reading took, by phase.
  support::PhaseTimes phases;
};

}  // namespace osprevan::pdf
