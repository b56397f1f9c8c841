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
  ObjectId doc = 0, p1 = 0, p2 = 0, p3 = 0;
};

TEST_F(TextTest, OffsetsCountCharactersOfJapaneseTextNotBytes) {
  Value length;
  ASSERT_EQ(engine.GetProp(doc, p1, P_PGF_TEXT_LENGTH, length), 0);
  EXPECT_EQ(length.i, 9);  // eight characters and the paragraph end
  std::vector<TextItem> items;
  ASSERT_EQ(engine.GetTextInRange(doc, {{p1, 4}, {p1, 6}}, TI_STRING, 0, items), 0);
  EXPECT_EQ(Describe(items), "(4:テキ)");
  TTextLoc after{};
  ASSERT_EQ(engine.AddText(doc, {p1, 3}, "新しい", after), 0);
  EXPECT_EQ(after.offset, 6);
  ASSERT_EQ(engine.GetText(doc, p1, TI_STRING, 0, items), 0);
  EXPECT_EQ(Describe(items), "(0:日本語新しいのテキスト)");
}

TEST_F(TextTest, RangeAcrossParagraphsGivesItemsOfEachWithTheirTextObjects) {
  std::vector<TextItem> items;
  ASSERT_EQ(engine.GetTextInRange(doc, {{p1, 6}, {p3, 2}}, TI_ALL, 0, items), 0);
  // Hidden conditional text (Secret) is left out; the table and footnote are anchors only.
  const std::string expected =
      "(6:" + std::to_string(TI_TEXT_OBJECT) + ")(6:スト)(8:" + std::to_string(TI_PARAGRAPH_END) +
      ")(0:" + std::to_string(TI_TEXT_OBJECT) + ")(0:ab)(2:" + std::to_string(TI_TABLE_ANCHOR) +
      ")(3:cd)(5:" + std::to_string(TI_FOOTNOTE_ANCHOR) +
      ")(8:ef)(10:" + std::to_string(TI_PARAGRAPH_END) + ")(0:" + std::to_string(TI_TEXT_OBJECT) +
      ")(0:la)";
  EXPECT_EQ(Describe(items), expected);
  EXPECT_EQ(items[0].id, p1);
  EXPECT_EQ(items[3].id, p2);
  ASSERT_EQ(
      engine.GetTextInRange(doc, {{p2, 0}, {p2, 11}}, TI_STRING, TIO_INCLUDE_HIDDEN_TEXT, items),
      0);
  EXPECT_EQ(Describe(items), "(0:ab)(3:cd)(6:xy)(8:ef)");
}

TEST_F(TextTest, RangesLeavingTheirParagraphListAreRefused) {
  const ObjectId cell = Paragraph(doc, 11);
  std::vector<TextItem> items;
  EXPECT_EQ(engine.GetTextInRange(doc, {{p2, 0}, {cell, 1}}, TI_ALL, 0, items), ERR_BAD_LOCATION);
  EXPECT_EQ(engine.GetTextInRange(doc, {{p3, 1}, {p1, 0}}, TI_ALL, 0, items), ERR_BAD_LOCATION);
  EXPECT_EQ(engine.GetTextInRange(doc, {{p3, 0}, {p3, 6}}, TI_ALL, 0, items), ERR_BAD_LOCATION);
  int32_t test = -1;
  ASSERT_EQ(engine.TestTextLocs(doc, {p1, 0}, {p3, 2}, test), 0);
  EXPECT_EQ(test, 0);
  ASSERT_EQ(engine.TestTextLocs(doc, {p2, 1}, {cell, 0}, test), 0);
  EXPECT_NE(test, 0);
  ASSERT_EQ(engine.TestTextLocs(doc, {Paragraph(doc, 11), 0}, {Paragraph(doc, 12), 0}, test), 0);
  EXPECT_NE(test, 0);  // two cells of one table
  EXPECT_EQ(engine.TestTextLocs(doc, {p1, 0}, {p1, 99}, test), ERR_BAD_LOCATION);
}

TEST_F(TextTest, ConditionsMergedPerCharacterSplitTheStrings) {
  const ObjectId added = Named(doc, OBJ_CONDITION, "TL8_TRACK_CHANGES_ADDED");
  const ObjectId highlight = Named(doc, OBJ_CONDITION, "Highlight");
  ASSERT_EQ(
      engine.SetTextProps(doc, {{p3, 0}, {p3, 3}}, {{P_TEXT_CONDITIONS, Value::Ids({highlight})}}),
      0);
  // Merge the way a client does: read the conditions of each piece and add one.
  for (TTextRange piece : {TTextRange{{p3, 2}, {p3, 3}}, TTextRange{{p3, 3}, {p3, 4}}}) {
    std::vector<ObjectId> list = ConditionsAt({piece.begin.object, piece.begin.offset + 1});
    list.push_back(added);
    ASSERT_EQ(engine.SetTextProps(doc, piece,
                                  {{P_TEXT_CONDITIONS, Value::Ids(list)},
                                   {P_TEXT_CHANGE_AUTHOR, Value::String("Aiko")},
                                   {P_TEXT_CHANGE_TIME, Value::Int(1700000000)}}),
              0);
  }
  EXPECT_EQ(ConditionsAt({p3, 1}), std::vector<ObjectId>({highlight}));
  EXPECT_EQ(ConditionsAt({p3, 3}), std::vector<ObjectId>({highlight, added}));
  EXPECT_EQ(ConditionsAt({p3, 4}), std::vector<ObjectId>({added}));
  Value author, time;
  ASSERT_EQ(engine.GetTextProp(doc, {p3, 4}, P_TEXT_CHANGE_AUTHOR, author), 0);
  ASSERT_EQ(engine.GetTextProp(doc, {p3, 4}, P_TEXT_CHANGE_TIME, time), 0);
  EXPECT_EQ(author.s, "Aiko");
  EXPECT_EQ(time.i, 1700000000);
  std::vector<TextItem> items;
  ASSERT_EQ(engine.GetText(doc, p3, TI_STRING, 0, items), 0);
  EXPECT_EQ(Describe(items), "(0:la)(2:s)(3:t)");
}

TEST_F(TextTest, BadTextPropertiesChangeNothing) {
  const ObjectId highlight = Named(doc, OBJ_CONDITION, "Highlight");
  EXPECT_EQ(engine.SetTextProps(doc, {{p3, 0}, {p3, 2}},
                                {{P_TEXT_CONDITIONS, Value::Ids({highlight})},
                                 {P_TEXT_CONDITIONS, Value::Ids({p1})}}),
            ERR_BAD_VALUE);
  EXPECT_TRUE(ConditionsAt({p3, 1}).empty());
  EXPECT_EQ(engine.SetTextProps(doc, {{p3, 0}, {p3, 2}}, {{P_TEXT_CHANGE_AUTHOR, Value::Int(1)}}),
            ERR_BAD_TYPE);
  engine.SetProp(doc, doc, P_DOC_READ_ONLY, Value::Int(1));
  TTextLoc after{};
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, "x", after), ERR_READ_ONLY);
  EXPECT_EQ(
      engine.SetTextProps(doc, {{p3, 0}, {p3, 2}}, {{P_TEXT_CONDITIONS, Value::Ids({highlight})}}),
      ERR_READ_ONLY);
  EXPECT_TRUE(ConditionsAt({p3, 1}).empty());
}

TEST_F(TextTest, AddTextRefusesBadTextAndStaysBeforeTheParagraphEnd) {
  TTextLoc after{};
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, "\xC3", after), ERR_BAD_VALUE);
  EXPECT_EQ(engine.AddText(doc, {p3, 0}, std::string("a\x01", 2), after), ERR_BAD_VALUE);
  ASSERT_EQ(engine.AddText(doc, {p3, 5}, "!", after), 0);  // after the paragraph end
  EXPECT_EQ(after.offset, 5);
  std::vector<TextItem> items;
  ASSERT_EQ(engine.GetText(doc, p3, TI_STRING | TI_PARAGRAPH_END, 0, items), 0);
  EXPECT_EQ(Describe(items), "(0:last!)(5:" + std::to_string(TI_PARAGRAPH_END) + ")");
}

TEST_F(TextTest, MarkersAreAnchoredAndShiftWithText) {
  ObjectId marker = 0;
  ASSERT_EQ(engine.NewAnchoredObject(doc, OBJ_MARKER, {p3, 2}, marker), 0);
  ASSERT_EQ(
      engine.SetProp(doc, marker, P_MARKER_TYPE, Value::Id(Named(doc, OBJ_MARKER_TYPE, "Comment"))),
      0);
  ASSERT_EQ(engine.SetProp(doc, marker, P_MARKER_TEXT, Value::String("TL_PDF_Comment: x")), 0);
  EXPECT_EQ(engine.SetProp(doc, marker, P_MARKER_TYPE, Value::Id(0)), ERR_BAD_VALUE);
  TTextLoc after{};
  ASSERT_EQ(engine.AddText(doc, {p3, 0}, "ab", after), 0);
  Value at;
  ASSERT_EQ(engine.GetProp(doc, marker, P_MARKER_LOCATION, at), 0);
  EXPECT_EQ(at.loc.object, p3);
  EXPECT_EQ(at.loc.offset, 4);
  Value type;
  ASSERT_EQ(engine.GetProp(doc, marker, P_MARKER_TYPE_NAME, type), 0);
  EXPECT_EQ(type.s, "Comment");
  // The anchor is one character with its own conditions.
  const ObjectId added = Named(doc, OBJ_CONDITION, "TL8_TRACK_CHANGES_ADDED");
  ASSERT_EQ(
      engine.SetTextProps(doc, {{p3, 4}, {p3, 5}}, {{P_TEXT_CONDITIONS, Value::Ids({added})}}), 0);
  EXPECT_EQ(ConditionsAt({p3, 5}), std::vector<ObjectId>({added}));
  EXPECT_TRUE(ConditionsAt({p3, 4}).empty());
}

TEST_F(TextTest, UniqueNumberLookupFindsAParagraphAddedAfterEarlierLookups) {
  ObjectId flow = 0, found = 0;
  EXPECT_EQ(engine.GetObjectByUniqueId(doc, OBJ_PARAGRAPH, 21, found), ERR_NOT_FOUND);
  ASSERT_EQ(engine.NewNamedObject(doc, OBJ_FLOW, "B", flow), 0);
  Value first;
  ASSERT_EQ(engine.GetProp(doc, flow, P_FLOW_FIRST_PARAGRAPH, first), 0);
  EXPECT_EQ(Paragraph(doc, 21), first.id);  // the document's next-unique was 21
  EXPECT_EQ(Paragraph(doc, 2), p2);
}

TEST_F(TextTest, SelectionsAreNormalised) {
  const ObjectId cell = Paragraph(doc, 11);
  Value v;
  ASSERT_EQ(engine.SetProp(doc, doc, P_DOC_TEXT_SELECTION, Value::Range({{p3, 3}, {p1, 1}})), 0);
  ASSERT_EQ(engine.GetProp(doc, doc, P_DOC_TEXT_SELECTION, v), 0);
  EXPECT_EQ(v.range.begin.object, p1);  // reversed ends are put in order
  EXPECT_EQ(v.range.end.offset, 3);
  ASSERT_EQ(engine.SetProp(doc, doc, P_DOC_TEXT_SELECTION, Value::Range({{p1, 1}, {cell, 1}})), 0);
  ASSERT_EQ(engine.GetProp(doc, doc, P_DOC_TEXT_SELECTION, v), 0);
  EXPECT_EQ(v.range.begin.object, cell);  // across lists: the insertion point at the end
  EXPECT_EQ(v.range.begin.offset, 1);
  ASSERT_EQ(engine.GetProp(doc, doc, P_DOC_SELECTED_TEXT_OBJECT, v), 0);
  EXPECT_EQ(v.id, cell);
  EXPECT_EQ(engine.SetProp(doc, doc, P_DOC_TEXT_SELECTION, Value::Range({{p1, 0}, {p1, 40}})),
            ERR_BAD_LOCATION);
}

inline const char* kStructured = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <element-def name="topic"/>
  <element-def name="p"/>
  <flow name="A" main="yes">
    <structure>
      <element key="e1" def="topic"><element key="e2" def="p"/><element key="e3" def="p"/></element>
    </structure>
    <p unique="1"><element-begin ref="e1"/><element-begin ref="e2"/>one<element-end ref="e2"/></p>
    <p unique="2"><element-begin ref="e3"/>two<element-end ref="e3"/><element-end ref="e1"/></p>
  </flow>
</document>
)";

// p1: [e1 [e2 o n e e2] ¶   p2: [e3 t w o e3] e1] ¶
TEST_F(EngineTest, ElementsRangesAndSelectionsInStructuredText) {
  const ObjectId doc = Load(kStructured);
  const ObjectId p1 = Paragraph(doc, 1), p2 = Paragraph(doc, 2);
  ObjectId e2 = 0, text = 0;
  ASSERT_EQ(engine.ObjectAtTextLoc(doc, {p1, 2}, e2, text), 0);
  EXPECT_EQ(text, p1);
  Value e1, e3, range;
  ASSERT_EQ(engine.GetProp(doc, e2, P_ELEM_PARENT, e1), 0);
  ASSERT_EQ(engine.GetProp(doc, e2, P_ELEM_NEXT_SIBLING, e3), 0);
  const struct {
    TTextLoc at;
    ObjectId element;
  } cases[] = {
      {{p1, 0}, e1.id}, {{p1, 1}, e1.id}, {{p1, 2}, e2},    {{p1, 5}, e2},
      {{p1, 6}, e1.id}, {{p2, 0}, e1.id}, {{p2, 1}, e3.id}, {{p2, 4}, e3.id},
      {{p2, 5}, e1.id}, {{p2, 6}, e1.id},  // after the root's end: the flow's root all the same
  };
  for (const auto& c : cases) {
    ObjectId element = 0;
    ASSERT_EQ(engine.ObjectAtTextLoc(doc, c.at, element, text), 0);
    EXPECT_EQ(element, c.element) << (c.at.object == p1 ? "p1 " : "p2 ") << c.at.offset;
  }
  ASSERT_EQ(engine.GetProp(doc, e2, P_ELEM_TEXT_RANGE, range), 0);
  EXPECT_EQ(std::make_pair(range.range.begin.offset, range.range.end.offset), std::make_pair(1, 6));
  ASSERT_EQ(engine.GetProp(doc, e3.id, P_ELEM_TEXT_RANGE, range), 0);
  EXPECT_EQ(range.range.begin.object, p2);
  EXPECT_EQ(range.range.begin.offset, 0);
  // A selection from one element into the next becomes the insertion point at its end; one
  // inside an element is kept.
  const std::pair<TTextRange, TTextRange> selections[] = {{{{p1, 3}, {p2, 2}}, {{p2, 2}, {p2, 2}}},
                                                          {{{p1, 2}, {p1, 4}}, {{p1, 2}, {p1, 4}}}};
  for (const auto& [set, kept] : selections) {
    ASSERT_EQ(engine.SetProp(doc, doc, P_DOC_TEXT_SELECTION, Value::Range(set)), 0);
    ASSERT_EQ(engine.GetProp(doc, doc, P_DOC_TEXT_SELECTION, range), 0);
    EXPECT_EQ(range.range.begin.object, kept.begin.object);
    EXPECT_EQ(range.range.begin.offset, kept.begin.offset);
    EXPECT_EQ(range.range.end.offset, kept.end.offset);
  }
}

}  // namespace
}  // namespace tlhost::testing
