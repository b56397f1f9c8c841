#include "host/link/block_packer.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/win/task_allocator.h"

namespace tlhost {
namespace {

using namespace tolvane;

// Every value, text item list and property list a client receives comes back as it went in,
// and one free of the block releases everything it points to.
TEST(BlockPacker, ValuesTextItemsAndPropertyListsRoundTripThroughOneBlock) {
  const int64_t before = CoTaskMemOutstanding();
  for (const Value& v :
       {Value::Int(-7), Value::String("注釈"), Value::Ids({MakeId(KIND_CONDITION, 1), 2}),
        Value::Strings({"a", "", "ccc"}),
        Value::Range({{MakeId(KIND_PARAGRAPH, 3), 1}, {MakeId(KIND_PARAGRAPH, 4), 2}}),
        Value::Attributes({{"class", {"- map/map ", "x"}}, {"id", {}}}),
        Value::LongInt(1LL << 40)}) {
    TValue* block = PackValue(42, v);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->property, 42);
    const Value back = UnpackValue(*block);
    EXPECT_EQ(std::tie(back.type, back.i, back.l, back.s, back.ids, back.strings, back.attributes,
                       back.range.begin.object, back.range.end.offset),
              std::tie(v.type, v.i, v.l, v.s, v.ids, v.strings, v.attributes, v.range.begin.object,
                       v.range.end.offset));
    CoTaskMemFree(block);
  }
  TTextItems* packed = PackTextItems({{0, TI_TEXT_OBJECT, "", MakeId(KIND_PARAGRAPH, 9)},
                                      {0, TI_STRING, "abc", 0},
                                      {3, TI_PARAGRAPH_END, "", 0}});
  ASSERT_EQ(packed->len, 3u);
  EXPECT_EQ(packed->val[0].u.id, MakeId(KIND_PARAGRAPH, 9));
  EXPECT_STREQ(packed->val[1].u.sval, "abc");
  EXPECT_EQ(packed->val[2].offset, 3);
  CoTaskMemFree(packed);
  TPropList* list = PackPropList({{P_TEXT_CHANGE_AUTHOR, Value::String("Aiko")},
                                  {P_TEXT_CHANGE_TIME, Value::Int(1700000000)}});
  const auto back = UnpackPropList(list);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(std::tie(back[0].property, back[0].value.s, back[1].value.i),
            std::make_tuple(P_TEXT_CHANGE_AUTHOR, "Aiko", 1700000000));
  CoTaskMemFree(list);
  TTextItems* empty = PackTextItems({});
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->len, 0u);
  CoTaskMemFree(empty);
  EXPECT_EQ(CoTaskMemOutstanding(), before);
}

}  // namespace
}  // namespace tlhost
