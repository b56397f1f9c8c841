// One character position of a paragraph: a text character or an item that occupies one
// position (anchor, begin/end mark, special character, the paragraph end), with the
// properties the host keeps per character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tolvane/numbers.h"

namespace tlhost {

// What the host keeps for every character: conditions in effect and the tracked-change
// author and time (seconds since 1970, 0 for none).
struct CharProps {
  std::vector<tolvane::ObjectId> conditions;
  std::string author;
  int64_t time = 0;
  bool operator==(const CharProps&) const = default;
};

struct TextAtom {
  uint32_t kind = tolvane::TI_STRING;  // TI_STRING for a character, else the item kind
  std::string character;               // TI_STRING: one UTF-8 character
  tolvane::ObjectId id = 0;            // the anchored object, element, xref or variable
  int32_t code = 0;                    // TI_SPECIAL_CHAR: 1 or 2
  CharProps props;

  bool isCharacter() const { return kind == tolvane::TI_STRING; }
};

}  // namespace tlhost
