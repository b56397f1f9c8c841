#include "hostlink/held_text.h"

namespace osprevan::hostlink {

std::string HostHeldText(const std::string& utf8) {
  constexpr const char* kReplacement = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    // UTF-8 puts bytes below 0x20 only in the characters they stand for.
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      out += kReplacement;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace osprevan::hostlink
