// UTF-8 helpers: the engine counts text in characters (code points), never in bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tlhost::utf8 {

// Appends the characters of `text` to `out`; false when it is not well-formed UTF-8
// (overlong forms, surrogates and values above U+10FFFF are refused).
bool Decode(std::string_view text, std::u32string& out);

// True for well-formed UTF-8 without a character that IsForbiddenControl refuses.
bool IsGoodText(std::string_view text);

// Appends one character as UTF-8.
void Append(char32_t character, std::string& out);

// True for a character that an XML 1.0 file cannot hold (C0 controls other than tab, line
// feed and carriage return).
constexpr bool IsForbiddenControl(char32_t c) {
  return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

}  // namespace tlhost::utf8
