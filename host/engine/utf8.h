// UTF-8 helpers: the engine counts text in characters (code points), never in bytes.
#pragma once

#include <string>
#include <vector>

namespace tlhost::utf8 {

// Splits `text` into one string per character; false when it is not well-formed UTF-8
// (overlong forms, surrogates and values above U+10FFFF are refused).
bool Split(const std::string& text, std::vector<std::string>& characters);

// The number of characters of well-formed `text`.
int32_t Count(const std::string& text);

// True for a character that an XML 1.0 file cannot hold (C0 controls other than tab, line
// feed and carriage return).
bool IsForbiddenControl(const std::string& character);

}  // namespace tlhost::utf8
