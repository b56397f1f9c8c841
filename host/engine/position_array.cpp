#include "host/engine/position_array.h"

#include <algorithm>
#include <cstring>

namespace tlhost {

namespace {

// Items are stored in place of characters that never occur in a paragraph: in one byte the 29
// C0 controls other than tab (9), line feed (10) and carriage return (13), in two bytes the
// 2048 surrogates.
constexpr uint32_t kNarrowItems = 29;
constexpr uint32_t kFirstSurrogate = 0xD800;
constexpr uint32_t kMiddleItems = 0x800;

constexpr uint8_t NarrowItemByte(uint32_t index) {
  return static_cast<uint8_t>(index < 9 ? index : index < 11 ? index + 2 : index + 3);
}
constexpr bool IsNarrowItemByte(uint8_t b) {
  return b < 0x20 && b != '\t' && b != '\n' && b != '\r';
}
constexpr uint32_t NarrowItemIndex(uint8_t b) {
  return b < 9 ? b : b < 13 ? b - 2u : b - 3u;
}

}  // namespace

unsigned PositionArray::WidthFor(char32_t code) {
  if (code >= kFirstItem) {
    const uint32_t index = code - kFirstItem;
    return index < kNarrowItems ? 1 : index < kMiddleItems ? 2 : 4;
  }
  return code < 0x100 ? 1 : code < 0x10000 ? 2 : 4;
}

void PositionArray::Put(char32_t code, unsigned width, uint8_t* to) {
  if (width == 4) {
    const uint32_t value = code;
    std::memcpy(to, &value, 4);
    return;
  }
  const uint32_t index = code - kFirstItem;
  if (width == 2) {
    const auto value = static_cast<uint16_t>(code >= kFirstItem ? kFirstSurrogate + index : code);
    std::memcpy(to, &value, 2);
    return;
  }
  *to = code >= kFirstItem ? NarrowItemByte(index) : static_cast<uint8_t>(code);
}

char32_t PositionArray::Get(const uint8_t* from) const {
  if (width_ == 1) return IsNarrowItemByte(*from) ? kFirstItem + NarrowItemIndex(*from) : *from;
  if (width_ == 2) {
    uint16_t value = 0;
    std::memcpy(&value, from, 2);
    const bool item = value >= kFirstSurrogate && value < kFirstSurrogate + kMiddleItems;
    return item ? kFirstItem + (value - kFirstSurrogate) : value;
  }
  uint32_t value = 0;
  std::memcpy(&value, from, 4);
  return value;
}

char32_t PositionArray::operator[](size_t at) const {
  return Get(bytes_.data() + at * width_);
}

void PositionArray::Widen(unsigned width) {
  std::vector<uint8_t> wider(size() * width);
  for (size_t i = 0; i < size(); ++i) Put((*this)[i], width, wider.data() + i * width);
  bytes_ = std::move(wider);
  width_ = width;
}

void PositionArray::Insert(size_t at, std::u32string_view codes) {
  unsigned width = width_;
  for (char32_t code : codes) width = std::max(width, WidthFor(code));
  if (width > width_) Widen(width);
  // Edits come a few to a paragraph: room for an eighth more, not the doubling of a vector.
  const size_t needed = bytes_.size() + codes.size() * width_;
  if (needed > bytes_.capacity()) bytes_.reserve(needed + needed / 8);
  const auto offset = static_cast<std::ptrdiff_t>(at * width_);
  bytes_.insert(bytes_.begin() + offset, codes.size() * width_, 0);
  uint8_t* to = bytes_.data() + offset;
  for (char32_t code : codes) {
    Put(code, width_, to);
    to += width_;
  }
}

}  // namespace tlhost
