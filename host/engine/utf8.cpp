#include "host/engine/utf8.h"

#include <cstdint>

namespace tlhost::utf8 {

bool Split(const std::string& text, std::vector<std::string>& characters) {
  characters.clear();
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t value = 0;
    if (lead < 0x80) {
      length = 1;
      value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      value = lead & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return true;
}

int32_t Count(const std::string& text) {
  int32_t count = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool IsForbiddenControl(const std::string& character) {
  if (character.size() != 1) return false;
  const auto c = static_cast<unsigned char>(character[0]);
  return c < 0x20 && c != '\t' && c != '\n' && c != '\r';
}

}  // namespace tlhost::utf8
