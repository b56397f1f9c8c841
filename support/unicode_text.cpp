#include "support/unicode_text.h"

#include <algorithm>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace osprevan::support {

std::optional<std::u16string> Utf8ToUtf16(const std::string& utf8) {
  if (utf8.empty()) return std::u16string();
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  u_strFromUTF8(nullptr, 0, &needed, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::u16string out(static_cast<size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), needed, nullptr, utf8.data(),
                static_cast<int32_t>(utf8.size()), &status);
  if (U_FAILURE(status)) return std::nullopt;
  return out;
}

std::optional<std::string> Utf16ToUtf8(const std::u16string& utf16) {
  if (utf16.empty()) return std::string();
  // Text without surrogates, nearly all text, is converted here: the content walk converts
  // every character of a PDF on its own, and a library call twice a character adds up.
  if (std::none_of(utf16.begin(), utf16.end(),
                   [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; })) {
    std::string out;
    out.reserve(utf16.size() * 3);
    for (const char16_t unit : utf16) {
      if (unit < 0x80) {
        out += static_cast<char>(unit);
      } else if (unit < 0x800) {
        out += static_cast<char>(0xC0 | (unit >> 6));
        out += static_cast<char>(0x80 | (unit & 0x3F));
      } else {
        out += static_cast<char>(0xE0 | (unit >> 12));
        out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (unit & 0x3F));
      }
    }
    return out;
  }
  UErrorCode status = U_ZERO_ERROR;
  int32_t needed = 0;
  const auto* source = reinterpret_cast<const UChar*>(utf16.data());
  const auto length = static_cast<int32_t>(utf16.size());
  u_strToUTF8(nullptr, 0, &needed, source, length, &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
  std::string out(static_cast<size_t>(needed), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8(out.data(), needed, nullptr, source, length, &status);
  if (U_FAILURE(status)) return std::nullopt;
  return out;
}

size_t Utf8PrefixLength(const std::string& text, size_t capacity) {
  if (text.size() <= capacity) return text.size();
  size_t cut = capacity;
  // Step back over continuation bytes so the cut falls on a character boundary.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return cut;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  auto ua = Utf8ToUtf16(a);
  auto ub = Utf8ToUtf16(b);
  if (!ua || !ub) return a == b;
  UErrorCode status = U_ZERO_ERROR;
  const int32_t order =
      u_strCaseCompare(reinterpret_cast<const UChar*>(ua->data()), static_cast<int32_t>(ua->size()),
                       reinterpret_cast<const UChar*>(ub->data()), static_cast<int32_t>(ub->size()),
                       U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) && order == 0;
}

}  // namespace osprevan::support
