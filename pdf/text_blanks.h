// Blank characters of the page text: the white space between words that markup drawn past its
// words reaches into.
#pragma once

#include <string_view>

namespace osprevan::pdf {

// True for one character's UTF-8 text that is white space (spaces of any width, tabs, no-break
// and ideographic spaces) or a punctuation mark: the characters beside a word that markup drawn a
// little past the word, or a full stop set close under its last letter, reaches into.
bool IsBlankOrPunctuation(std::string_view text);

// True for one character's UTF-8 text that is white space alone.
bool IsBlank(std::string_view text);

}  // namespace osprevan::pdf
