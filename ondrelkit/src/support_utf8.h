// UTF-16 to UTF-8 for file names handed to Poppler.
#pragma once

#include <unicode/ustring.h>

#include <string>

namespace ondrelkit {

inline std::string Utf16ToUtf8(const std::u16string& units) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  const auto* source = reinterpret_cast<const UChar*>(units.data());
  const auto length = static_cast<int32_t>(units.size());
  u_strToUTF8WithSub(nullptr, 0, &needed, source, length, 0xFFFD, nullptr, &status);
  std::string out(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), needed, nullptr, source, length, 0xFFFD, nullptr, &status);
  return out;
}

}  // namespace ondrelkit
