#include "pdf/text_blanks.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace osprevan::pdf {

bool IsBlank(std::string_view text) {
  if (text.empty()) return false;
  int32_t at = 0;
  UChar32 c = 0;
  U8_NEXT(text.data(), at, static_cast<int32_t>(text.size()), c);
  return c >= 0 && u_isUWhiteSpace(c);
}

}  // namespace osprevan::pdf
