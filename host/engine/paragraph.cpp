#include "host/engine/paragraph.h"

#include <algorithm>

#include "host/engine/utf8.h"

namespace tlhost {

Paragraph::Item Paragraph::item(int32_t at) const {
  const char32_t stored = Stored(at);
  if (stored == kEnd) return {};
  if (stored < kFirstItem) return {tolvane::TI_STRING, 0};
  return items_[stored - kFirstItem];
}

int32_t Paragraph::CharactersEnd(int32_t at, int32_t limit) const {
  const int32_t end = std::min({limit, props_.RunEnd(at), static_cast<int32_t>(text_.size())});
  int32_t i = at;
  while (i < end && text_[static_cast<size_t>(i)] < kFirstItem) ++i;
  return i;
}

void Paragraph::AppendText(int32_t from, int32_t to, std::string& out) const {
  to = std::min(to, static_cast<int32_t>(text_.size()));
  for (int32_t i = std::max(from, 0); i < to; ++i) {
    const char32_t c = text_[static_cast<size_t>(i)];
    if (c < kFirstItem) utf8::Append(c, out);
  }
}

int32_t Paragraph::FindItem(tolvane::ObjectId id, uint32_t kinds) const {
  const auto wanted = [&](const Item& item) { return item.id == id && (item.kind & kinds); };
  // Most paragraphs hold no such item; their text need not be read.
  if (std::any_of(items_.begin(), items_.end(), wanted)) {
    for (size_t i = 0; i < text_.size(); ++i) {
      const char32_t code = text_[i];
      if (code >= kFirstItem && wanted(items_[code - kFirstItem])) return static_cast<int32_t>(i);
    }
  }
  return wanted(Item{}) ? length() - 1 : -1;
}

void Paragraph::InsertCharacters(int32_t at, std::u32string_view characters, PropsId props) {
  text_.Insert(static_cast<size_t>(at), characters);
  props_.Insert(at, static_cast<int32_t>(characters.size()), props);
}

void Paragraph::InsertItem(int32_t at, Item item, PropsId props) {
  const char32_t code = kFirstItem + static_cast<char32_t>(items_.size());
  text_.Insert(static_cast<size_t>(at), {&code, 1});
  items_.push_back(item);
  props_.Insert(at, 1, props);
}

void Paragraph::ShrinkToFit() {
  text_.ShrinkToFit();
  items_.shrink_to_fit();
  props_.ShrinkToFit();
}

}  // namespace tlhost
