// The paragraph's compact text, checked against a plain model of one code and one property id
// per position: a fault in its storage would show as lost or changed text.
#include "host/engine/paragraph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tlhost::testing {
namespace {

using namespace tolvane;

TEST(Paragraph, TextItemsAndPropertiesSurviveEveryInsertAndChange) {
  constexpr char32_t kItem = 0x80000000;  // kItem + id stands for an item in the model
  Paragraph p;
  std::u32string model;
  std::vector<PropsId> props(1, kPlainProps);  // the paragraph end's
  ObjectId nextItem = 100;
  const auto insert = [&](int32_t at, const std::u32string& text, PropsId id) {
    p.InsertCharacters(at, text, id);
    model.insert(static_cast<size_t>(at), text);
    props.insert(props.begin() + at, text.size(), id);
  };
  const auto insertItems = [&](int32_t at, int count) {
    for (int32_t i = at; i < at + count; ++i, ++nextItem) {
      p.InsertItem(i, {TI_MARKER_ANCHOR, nextItem}, 7);
      model.insert(static_cast<size_t>(i), 1, kItem + nextItem);
      props.insert(props.begin() + i, 7);
    }
  };
  const auto change = [&](int32_t from, int32_t to, PropsId id) {
    p.ChangeProps(from, to, [&](PropsId old) { return old + id; });
    for (int32_t i = from; i < to; ++i) props[static_cast<size_t>(i)] += id;
  };
  // One-byte codes, then enough items and wide characters to widen the storage twice.
  insert(0, U"a\t\n\r\u00e9\u00ff", 1);
  insertItems(2, 29);
  insert(5, U"日本\uffff", 2);
  change(1, 20, 3);
  insert(0, U"\U0001F600\U0010FFFF", 4);
  insertItems(10, 2048);
  change(0, 3000, 10);
  change(4, 6, 1);
  insert(2070, U"end", 6);
  p.ShrinkToFit();

  ASSERT_EQ(p.length(), static_cast<int32_t>(model.size()) + 1);
  EXPECT_EQ(p.kind(p.length() - 1), TI_PARAGRAPH_END);
  for (int32_t i = 0; i < p.length(); ++i) {
    ASSERT_EQ(p.props(i), props[static_cast<size_t>(i)]) << i;
    if (i + 1 == p.length()) break;
    const char32_t code = model[static_cast<size_t>(i)];
    if (code >= kItem) {
      ASSERT_EQ(p.item(i).id, code - kItem) << i;
      EXPECT_EQ(p.FindItem(code - kItem, TI_MARKER_ANCHOR), i);
    } else {
      ASSERT_EQ(p.character(i), code) << i;
    }
  }
}

}  // namespace
}  // namespace tlhost::testing
