// The host container that a content element's chain of classified ancestors leads to: a flow,
// and inside it a table's title or cell, or a footnote. Paragraphs that are not found by their
// identifiers are counted from the start of that container.
#pragma once

#include <string>
#include <unordered_map>

#include "pdf/content_element.h"
#include "tolvane/numbers.h"

namespace osprevan::apply {

struct HostContainer {
  tolvane::ObjectId flow = 0;
  tolvane::ObjectId table = 0;
  int32_t rowKind = 0;  // the row group of the table, once one was entered
  tolvane::ObjectId row = 0;
  tolvane::ObjectId cell = 0;
  tolvane::ObjectId footnote = 0;
  bool tableTitle = false;

  // The first paragraph of the innermost container reached; 0 when there is none.
  tolvane::ObjectId FirstParagraph(tolvane::ObjectId document) const;
};

// While one lives, the walk notes the place of every kid of each parent it looks into, so that
// the many comments of one document in tables and footnotes do not count a parent's kids again
// each time. One is made for each document's placing and takes its notes with it when it goes,
// so no import keeps memory for the next.
class KidPlaceNotes {
 public:
  KidPlaceNotes();
  ~KidPlaceNotes();
  KidPlaceNotes(const KidPlaceNotes&) = delete;
  KidPlaceNotes& operator=(const KidPlaceNotes&) = delete;

  std::unordered_map<const OkStructElem*, std::unordered_map<const OkStructElem*, int32_t>>
      byParent;

 private:
  KidPlaceNotes* outer_;
};

// The flow of that name whose first text frame lies on a body page; 0 when there is none.
tolvane::ObjectId BodyFlowNamed(tolvane::ObjectId document, const std::string& name);

// Walks the chain from its outermost entry inwards. False when an entry could not be resolved;
// `out` then holds the container reached so far.
bool WalkContainers(tolvane::ObjectId document, const pdf::ContentElement& element,
                    HostContainer& out);

}  // namespace osprevan::apply
