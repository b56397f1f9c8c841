#include "pdf/text_blanks.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace osprevan::pdf {

namespace {

UChar32 FirstCodePoint(std::string_view text) {
  if (text.empty()) return -1;
  int32_t at = 0;
  UChar32 c = 0;
  U8_NEXT(text.data(), at, static_cast<int32_t>(text.size()), c);
  return c;
}

}  // namespace

bool IsBlankOrPunctuation(std::string_view text) {
  const UChar32 c = FirstCodePoint(text);
  return c >= 0 && (u_isUWhiteSpace(c) || u_ispunct(c));
}

bool IsBlank(std::string_view text) {
  const UChar32 c = FirstCodePoint(text);
  return c >= 0 && u_isUWhiteSpace(c);
}

}  // namespace osprevan::pdf
