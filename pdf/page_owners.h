// The paragraph-level structure elements one page's text belongs to, in the order the page
// meets them: what a page adds to the counts of content elements, whether its content was walked
// or only its parent tree read.
#pragma once

#include <vector>

#include "ondrelkit/ondrelkit.h"
#include "pdf/content_element.h"

namespace osprevan::pdf {

// Where the text of one marked-content sequence belongs.
struct MarkedContentOwner {
  const OkStructElem* structElem = nullptr;  // the paragraph-level element
  const ElementEntry* chain = nullptr;       // the classified elements above it
  bool inBlockSpan = false;                  // a block's span lies on the way up
  bool operator==(const MarkedContentOwner& other) const {
    return structElem == other.structElem && chain == other.chain &&
           inBlockSpan == other.inBlockSpan;
  }
  bool operator!=(const MarkedContentOwner& other) const { return !(*this == other); }
};

// Each owner once for every run of text that had it: two pages with the same list move the
// counts the same way.
using PageOwners = std::vector<MarkedContentOwner>;

// Appends `owner` unless it is the last one already there.
inline void NoteOwner(PageOwners& owners, const MarkedContentOwner& owner) {
  if (owners.empty() || owners.back() != owner) owners.push_back(owner);
}

}  // namespace osprevan::pdf
