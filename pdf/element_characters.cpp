#include "pdf/element_characters.h"

#include <algorithm>

namespace osprevan::pdf {

void ElementCharacters::Append(const CharacterRecord& character) {
  // A character's text is a few code units at most (the walk reads no more); anything longer is
  // cut where a whole UTF-8 sequence ends, so the length fits its bits.
  size_t length = std::min<size_t>(character.text.size(), kLengthBits);
  while (length < character.text.size() && length > 0 &&
         (static_cast<unsigned char>(character.text[length]) & 0xC0) == 0x80) {
    --length;
  }
  text_.append(character.text, 0, length);
  lengths_.push_back(static_cast<uint8_t>(length | (character.inBlockSpan ? kBlockSpanBit : 0)));
  boxes_.push_back(character.box);
  areas_.push_back(character.area);
}

std::string ElementCharacters::Text(size_t from, size_t to, bool outsideBlocks) const {
  to = std::min(to, size());
  size_t byte = 0;
  for (size_t i = 0; i < std::min(from, to); ++i) byte += lengths_[i] & kLengthBits;
  std::string out;
  for (size_t i = from; i < to; ++i) {
    const size_t length = lengths_[i] & kLengthBits;
    if (!outsideBlocks || !(lengths_[i] & kBlockSpanBit)) out.append(text_, byte, length);
    byte += length;
  }
  return out;
}

void ElementCharacters::DropBoxes() {
  boxesFrom_ = size();
  boxes_.clear();
  boxes_.shrink_to_fit();
  areas_.clear();
  areas_.shrink_to_fit();
  // Most elements end with their page; the rest grow again on the next.
  text_.shrink_to_fit();
  lengths_.shrink_to_fit();
}

}  // namespace osprevan::pdf
