#include <gtest/gtest.h>

#include "fixture.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;

class TextTest : public EngineTest {
 protected:
  void SetUp() override {
    doc = Load(kPlainDocument);
    p1 = Paragraph(doc, 1);
    p2 = Paragraph(doc, 2);
    p3 = Paragraph(doc, 3);
  }
  std::vector<ObjectId> ConditionsAt(TTextLoc at) {
    Value v;
    EXPECT_EQ(engine.GetTextProp(doc, at, P_TEXT_CONDITIONS, v), 0);
    return v.ids;
  }
  // The items of the range described, or "refused N" with the error.
  std::string Items(TTextRange range, uint32_t flags, uint32_t options = 0) {
    std::vector<TextItem> items;
    const int32_t error = engine.GetTextInRange(doc, range, flags, options, items);
    return error ? "refused " + std::to_string(error) : Describe(items);
  }
  std::string Whole(ObjectId p) {
    std::vector<TextItem> items;
    EXPECT_EQ(engine.GetText(doc, p, TI_STRING, 0, items), 0);
    return Describe(items);
  }
  ObjectId doc = 0, p1 = 0, p2 = 0, p3 = 0;
};

// Offsets count characters, not bytes; hidden conditional text is left out unless asked for;
// a range may not leave its paragraph list, run backwards or past a paragraph's end.
TEST_F(TextTest, RangesGiveTheItemsOfEachParagraphOrAreRefused) {
  const ObjectId cell = Paragraph(doc, 11);
  const std::string end = std::to_string(TI_PARAGRAPH_END), obj = std::to_string(TI_TEXT_OBJECT);
  const std::string refused = "refused " + std::to_string(ERR_BAD_LOCATION);
  EXPECT_EQ(Items({{p1, 4}, {p1, 6}}, TI_STRING), "(4:テキ)");
  EXPECT_EQ(Items({{p1, 6}, {p3, 2}}, TI_ALL),
            "(6:" + obj + ")(6:スト)(8:" + end + ")(0:" + obj +
                ")(0:ab)(2:" + std::to_string(TI_TABLE_ANCHOR) +
                ")(3:cd)(5:" + std::to_string(TI_FOOTNOTE_ANCHOR) + ")(8:ef)(10:" + end +
                ")(0:" + obj + ")(0:la)");
  EXPECT_EQ(Items({{p2, 0}, {p2, 11}}, TI_STRING, TIO_INCLUDE_HIDDEN_TEXT),
            "(0:ab)(3:cd)(6:xy)(8:ef)");
  for (const TTextRange range :
       {TTextRange{{p2, 0}, {cell, 1}}, TTextRange{{p3, 1}, {p1, 0}}, TTextRange{{p3, 0}, {p3, 6}}})
    EXPECT_EQ(Items(range, TI_ALL), refused);
  const struct {
    TTextLoc a, b;
    int32_t error;
    bool apart;  // in different paragraph lists or cells
  } tests[] = {{{p1, 0}, {p3, 2}, 0, false},
               {{p2, 1}, {cell, 0}, 0, true},
               {{cell, 0}, {Paragraph(doc, 12), 0}, 0, true},
               {{p1, 0}, {p1, 99}, ERR_BAD_LOCATION, false}};
  for (const auto& t : tests) {
    int32_t test = -1;
    ASSERT_EQ(engine.TestTextLocs(doc, t.a, t.b, test), t.error);
    EXPECT_TRUE(t.error != 0 || (test != 0) == t.apart);
  }
}

// Added text counts in characters and stays before the paragraph end; bad text, a bad value
// among good ones and any change to a read-only document are refused and change nothing.
TEST_F(TextTest, AddedTextAndRefusedChanges) {
  TTextLoc after{};
  ASSERT_EQ(engine.AddText(doc, {p1, 3}, "新しい", after), 0);
  EXPECT_EQ(after.offset, 6);
  ASSERT_EQ(engine.AddText(doc, {p3, 5}, "!", after), 0);  // after the paragraph end
  EXPECT_EQ(after.offset, 5);
  EXPECT_EQ(Whole(p1), "(0:日本語新しいのテキスト)");
  const ObjectId highlight = Named(doc, OBJ_CONDITION, "Highlight");
  const TTextRange range{{p3, 0}, {p3, 2}};
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, "\xC3", after), ERR_BAD_VALUE);
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, std::string("a\x01", 2), after), ERR_BAD_VALUE);
  EXPECT_EQ(engine.SetTextProps(doc, range,
                                {{P_TEXT_CONDITIONS, Value::Ids({highlight})},
                                 {P_TEXT_CONDITIONS, Value::Ids({p1})}}),
            ERR_BAD_VALUE);
  EXPECT_EQ(engine.SetTextProps(doc, range, {{P_TEXT_CHANGE_AUTHOR, Value::Int(1)}}), ERR_BAD_TYPE);
  engine.SetProp(doc, doc, P_DOC_READ_ONLY, Value::Int(1));
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, "x", after), ERR_READ_ONLY);
  EXPECT_EQ(engine.SetTextProps(doc, range, {{P_TEXT_CONDITIONS, Value::Ids({highlight})}}),
            ERR_READ_ONLY);
  EXPECT_EQ(Whole(p3), "(0:last!)");
  EXPECT_TRUE(ConditionsAt({p3, 1}).empty());
}

}  // namespace
}  // namespace tlhost::testing
