// Conversions between UTF-8 and UTF-16, through ICU.
#pragma once

#include <optional>
#include <string>

namespace osprevan::support {

// Null when the input is not well-formed.
std::optional<std::u16string> Utf8ToUtf16(const std::string& utf8);
std::optional<std::string> Utf16ToUtf8(const std::u16string& utf16);

// The number of bytes of `text` that hold at most `capacity` bytes without splitting a character.
size_t Utf8PrefixLength(const std::string& text, size_t capacity);

// Letter-case-insensitive equality by Unicode case folding.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

}  // namespace osprevan::support
