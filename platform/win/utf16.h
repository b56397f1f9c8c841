// UTF-8 and UTF-16 conversions of the platform layer, as MultiByteToWideChar and
// WideCharToMultiByte do them for the UTF-8 code page.
#pragma once

#include <string>

namespace win {

// Ill-formed input gives U+FFFD for each bad sequence.
std::u16string Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::u16string& text);

}  // namespace win
