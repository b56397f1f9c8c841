// The characters of one content element, kept for the whole document at a few bytes each: their
// text and whether a block's span carried them. Their boxes are only needed while their page is
// read (matching comments, placing notes by position), so only the boxes of the characters
// read since the last DropBoxes are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "pdf/comment_box.h"
#include "pdf/page_geometry.h"

namespace osprevan::pdf {

// One character as the content walk reads it.
struct CharacterRecord {
  CommentBox box;    // on the page as shown
  UserRect area;     // in PDF user space, where the text runs along x
  std::string text;  // its Unicode text, UTF-8
  bool inBlockSpan = false;
};

class ElementCharacters {
 public:
  size_t size() const { return lengths_.size(); }
  bool empty() const { return lengths_.empty(); }

  void Append(const CharacterRecord& character);
  bool InBlockSpan(size_t index) const { return (lengths_.at(index) & kBlockSpanBit) != 0; }
  // The text of the characters from `from` up to `to` (both clamped to size()); with
  // `outsideBlocks`, characters a block's span carried are left out.
  std::string Text(size_t from, size_t to, bool outsideBlocks = false) const;

  // The characters whose boxes are kept are those from BoxesFrom() on.
  size_t BoxesFrom() const { return boxesFrom_; }
  std::span<const CommentBox> Boxes() const { return boxes_; }
  std::span<const UserRect> Areas() const { return areas_; }
  void DropBoxes();

 private:
  static constexpr uint8_t kBlockSpanBit = 0x80;
  static constexpr uint8_t kLengthBits = 0x7F;

  std::string text_;
  std::vector<uint8_t> lengths_;  // per character: its bytes in text_, and kBlockSpanBit
  std::vector<CommentBox> boxes_;
  std::vector<UserRect> areas_;
  size_t boxesFrom_ = 0;
};

}  // namespace osprevan::pdf
