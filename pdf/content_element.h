// Page text as the content walk collects it: runs of characters that belong to one
// paragraph-level structure element, each with the chain of classified elements around it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdf/comment_box.h"
#include "pdf/element_characters.h"
#include "pdf/element_kind.h"
#include "tolvane/numbers.h"

namespace osprevan::pdf {

// One classified ancestor of a paragraph-level element, linked to the next one outward. Made
// once per structure element and shared by every chain that passes it.
struct ElementEntry {
  ElementKind kind = ElementKind::NotClassified;
  std::string name;  // a section's own type name
  const ElementEntry* outer = nullptr;

  // What placing needs of the tree around the entry to find its host container, noted once
  // reading is done (ContainerPlaces) for the entries of elements that comments lie in.
  // A row or cell: how many kids of its parent before it have its kind.
  int32_t placeAmongKind = 0;
  // A table or footnote: the host paragraph named by the nearest kid before it that names one
  // (0 when none does), and how many kids of its own type stand between them.
  tolvane::ObjectId anchorParagraph = 0;
  int32_t anchorsBetween = 0;
};

struct ContentElement {
  // The innermost classified ancestor; null when none is classified.
  const ElementEntry* containers = nullptr;
  int32_t firstPage = -1;
  int32_t lastPage = -1;
  int32_t walkedPage = -1;      // the last page whose walk gave the element characters
  uint32_t containerIndex = 0;  // 1-based among the elements with the same chain
  uint32_t containerCount = 0;  // the same, counting only elements outside every block
  // The structure element's identifier, read with the container places; empty when it has none.
  std::string identifier;
  bool inBlockSpan = true;  // every character so far lay inside a block's span
  // Some block has this element's structure element as its start's / end's parent; set with
  // the block list before placing.
  bool startsBlock = false;
  bool endsBlock = false;
  CommentBox box;           // the union of the characters' boxes
  ElementCharacters chars;  // a character's index here is its offset

  // The name of the first section entry of the chain; empty when there is none.
  const std::string& SectionName() const;

 private:
  mutable std::string sectionName_;
  mutable bool sectionNameRead_ = false;
};

}  // namespace osprevan::pdf
