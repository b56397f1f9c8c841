// Words of the page text, as Unicode's word boundaries give them (dictionary words in Japanese
// and other text without spaces), so that a note or a text box never cuts one in two.
#pragma once

#include <cstdint>

#include "pdf/element_characters.h"

namespace osprevan::pdf {

// The characters [start, end) of the word that holds the character at `offset`. A character
// that belongs to no word (a blank, a punctuation mark) stands alone: {offset, offset + 1}.
struct WordSpan {
  uint32_t start = 0;
  uint32_t end = 0;
  bool isWord = false;
  // A word of kana or ideographs: a dictionary's guess at a word in text written without
  // blanks, which a reviewer's box may well cut on purpose.
  bool ideographic = false;
};
WordSpan WordAt(const ElementCharacters& chars, uint32_t offset);

}  // namespace osprevan::pdf
