#include "support/json_text.h"

#include <unicode/utf8.h>

#include <cstdio>

namespace osprevan::support {

std::string JsonQuoted(const std::string& utf8) {
  std::string out = "\"";
  const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
  const int32_t length = static_cast<int32_t>(utf8.size());
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) {
      out += "\xEF\xBF\xBD";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out.append(utf8, static_cast<size_t>(start), static_cast<size_t>(i - start));
    }
  }
  out += '"';
  return out;
}

}  // namespace osprevan::support
