// The positions of a paragraph before its end, each a character or an item's index, stored in
// as few bytes each as the paragraph needs: one while its characters lie below U+0100 and it has
// few items, two while they lie below U+10000, else four. Most text takes one byte a position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tlhost {

class PositionArray {
 public:
  // Codes from here on name items: kFirstItem + the item's index. Unicode ends below it.
  static constexpr char32_t kFirstItem = 0x110000;

  size_t size() const { return bytes_.size() / width_; }
  // A character or kFirstItem + an item's index.
  char32_t operator[](size_t at) const;
  // Codes are characters (never a C0 control other than tab, line feed and carriage return,
  // nor a surrogate) or kFirstItem + an index.
  void Insert(size_t at, std::u32string_view codes);
  void ShrinkToFit() { bytes_.shrink_to_fit(); }

 private:
  static unsigned WidthFor(char32_t code);
  static void Put(char32_t code, unsigned width, uint8_t* to);
  char32_t Get(const uint8_t* from) const;
  void Widen(unsigned width);

  std::vector<uint8_t> bytes_;  // width_ bytes a position
  unsigned width_ = 1;          // 1, 2 or 4
};

}  // namespace tlhost
