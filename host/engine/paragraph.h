// A paragraph: its stable unique number, format, number string and its text as positions,
// each a character or an item (anchor, begin or end mark, special character), the last one
// always the paragraph end, each with its properties.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/engine/char_props.h"
#include "host/engine/position_array.h"
#include "host/engine/props_runs.h"

namespace tlhost {

class Paragraph {
 public:
  // A position that is not a character. A special character's id is its code, 1 or 2.
  struct Item {
    uint32_t kind = tolvane::TI_PARAGRAPH_END;
    tolvane::ObjectId id = 0;
  };

  tolvane::ObjectId id = 0;
  int32_t unique = 0;  // stable across saves; never given to another paragraph of the document
  // The paragraph list that holds it: a flow, a table cell, a footnote, or a table (title).
  tolvane::ObjectId owner = 0;
  // Where Document::IndexInList last found it in its list; checked before it is used.
  mutable uint32_t listIndexHint = 0;
  bool autonumberNotInPdf = false;  // the number string is left out of the PDF
  std::string format;
  std::string autonumber;  // the number string shown before the text, e.g. "1.2\t"

  // Character positions, the paragraph end included; locations run from 0 to length().
  int32_t length() const { return static_cast<int32_t>(text_.size()) + 1; }
  bool isCharacter(int32_t at) const { return Stored(at) < kFirstItem; }
  char32_t character(int32_t at) const { return Stored(at); }  // of a character position
  uint32_t kind(int32_t at) const { return item(at).kind; }    // TI_STRING for a character
  Item item(int32_t at) const;                                 // {TI_STRING, 0} for a character
  PropsId props(int32_t at) const { return props_.at(at); }
  PropsId endProps() const { return props_.at(length() - 1); }

  // The end of the characters from `at` that share its properties: the next item, change of
  // properties or `limit`, whichever comes first.
  int32_t CharactersEnd(int32_t at, int32_t limit) const;
  // Appends the characters of positions [from, to) as UTF-8, leaving out the items.
  void AppendText(int32_t from, int32_t to, std::string& out) const;
  // The first position of an item with this id and one of the kinds, -1 for none.
  int32_t FindItem(tolvane::ObjectId id, uint32_t kinds) const;
  // Calls visit(position, item) for each item before the paragraph end, in text order.
  template <typename Visit>
  void ForEachItem(Visit visit) const {
    if (items_.empty()) return;
    for (size_t i = 0; i < text_.size(); ++i) {
      const char32_t code = text_[i];
      if (code >= kFirstItem) visit(static_cast<int32_t>(i), items_[code - kFirstItem]);
    }
  }

  // Inserting moves the positions from `at` up; the end stays last, so `at` is at most
  // length() - 1.
  void InsertCharacters(int32_t at, std::u32string_view characters, PropsId props = kPlainProps);
  void InsertItem(int32_t at, Item item, PropsId props = kPlainProps);
  // Positions [from, to) get the properties `change` makes of theirs.
  void ChangeProps(int32_t from, int32_t to, const std::function<PropsId(PropsId)>& change) {
    props_.Change(from, to, change);
  }
  // Gives back what growing while the paragraph was built left unused.
  void ShrinkToFit();

 private:
  static constexpr char32_t kFirstItem = PositionArray::kFirstItem;
  static constexpr char32_t kEnd = 0xFFFFFFFF;  // the paragraph end, which is not stored
  char32_t Stored(int32_t at) const {
    return static_cast<size_t>(at) < text_.size() ? text_[static_cast<size_t>(at)] : kEnd;
  }

  // Every position but the end. An item keeps its index when text is inserted before it.
  PositionArray text_;
  std::vector<Item> items_;  // in the order they were added
  PropsRuns props_;
};

}  // namespace tlhost
