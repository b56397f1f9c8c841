// Words of the page text, as Unicode's word boundaries give them (dictionary words in Japanese
// and other text without spaces), so that a note or a text box never cuts one in two.
#pragma once

#include <cstdint>

#include <unicode/ubrk.h>

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

// A word-break iterator opened at its first use and given each text in turn: opening one costs
// far more than finding a word with it, and a page may hold hundreds of notes.
class WordBreaks {
 public:
  WordBreaks() = default;
  ~WordBreaks();
  WordBreaks(const WordBreaks&) = delete;
  WordBreaks& operator=(const WordBreaks&) = delete;

  WordSpan WordAt(const ElementCharacters& chars, uint32_t offset);

 private:
  UBreakIterator* iterator_ = nullptr;
  bool failed_ = false;  // the iterator cannot be opened: every character stands alone
};

}  // namespace osprevan::pdf
