#include <gtest/gtest.h>

#include "fixture.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;
using Loc = std::pair<ObjectId, int32_t>;

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
  static Loc At(TTextLoc loc) { return {loc.object, loc.offset}; }
  // The selection the document keeps after being given `range`.
  std::pair<Loc, Loc> Select(ObjectId d, TTextRange range) {
    Value v;
    EXPECT_EQ(engine.SetProp(d, d, P_DOC_TEXT_SELECTION, Value::Range(range)), 0);
    EXPECT_EQ(engine.GetProp(d, d, P_DOC_TEXT_SELECTION, v), 0);
    return {At(v.range.begin), At(v.range.end)};
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
  for (const TTextRange range : {TTextRange{{p2, 0}, {cell, 1}}, TTextRange{{p3, 1}, {p1, 0}},
                                 TTextRange{{p3, 0}, {p3, 6}}}) {
    EXPECT_EQ(Items(range, TI_ALL), refused);
  }
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
    if (!t.error) {
      EXPECT_EQ(test != 0, t.apart);
    }
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

// Merged the way a client does: the conditions of each piece read, one added.
TEST_F(TextTest, ConditionsMergedPerCharacterSplitTheStrings) {
  const ObjectId added = Named(doc, OBJ_CONDITION, "TL8_TRACK_CHANGES_ADDED");
  const ObjectId highlight = Named(doc, OBJ_CONDITION, "Highlight");
  ASSERT_EQ(
      engine.SetTextProps(doc, {{p3, 0}, {p3, 3}}, {{P_TEXT_CONDITIONS, Value::Ids({highlight})}}),
      0);
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
  EXPECT_EQ(Whole(p3), "(0:la)(2:s)(3:t)");
}

// A marker's anchor is one character with its own conditions and moves with the text.
TEST_F(TextTest, MarkersAreAnchoredAndShiftWithText) {
  ObjectId marker = 0;
  ASSERT_EQ(engine.NewAnchoredObject(doc, OBJ_MARKER, {p3, 2}, marker), 0);
  const ObjectId comment = Named(doc, OBJ_MARKER_TYPE, "Comment");
  ASSERT_EQ(engine.SetProp(doc, marker, P_MARKER_TYPE, Value::Id(comment)), 0);
  EXPECT_EQ(engine.SetProp(doc, marker, P_MARKER_TYPE, Value::Id(0)), ERR_BAD_VALUE);
  TTextLoc after{};
  ASSERT_EQ(engine.AddText(doc, {p3, 0}, "ab", after), 0);
  Value at, type;
  ASSERT_EQ(engine.GetProp(doc, marker, P_MARKER_LOCATION, at), 0);
  EXPECT_EQ(At(at.loc), Loc(p3, 4));
  ASSERT_EQ(engine.GetProp(doc, marker, P_MARKER_TYPE_NAME, type), 0);
  EXPECT_EQ(type.s, "Comment");
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

// Reversed ends are put in order; a selection across lists becomes the insertion point at its
// end; one outside the text is refused.
TEST_F(TextTest, SelectionsAreNormalised) {
  const ObjectId cell = Paragraph(doc, 11);
  EXPECT_EQ(Select(doc, {{p3, 3}, {p1, 1}}), std::make_pair(Loc{p1, 1}, Loc{p3, 3}));
  EXPECT_EQ(Select(doc, {{p1, 1}, {cell, 1}}), std::make_pair(Loc{cell, 1}, Loc{cell, 1}));
  Value v;
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
TEST_F(TextTest, ElementsRangesAndSelectionsInStructuredText) {
  const ObjectId sdoc = Load(kStructured);
  const ObjectId s1 = Paragraph(sdoc, 1), s2 = Paragraph(sdoc, 2);
  ObjectId e2 = 0, text = 0;
  ASSERT_EQ(engine.ObjectAtTextLoc(sdoc, {s1, 2}, e2, text), 0);
  EXPECT_EQ(text, s1);
  Value e1, e3, range;
  ASSERT_EQ(engine.GetProp(sdoc, e2, P_ELEM_PARENT, e1), 0);
  ASSERT_EQ(engine.GetProp(sdoc, e2, P_ELEM_NEXT_SIBLING, e3), 0);
  const std::pair<TTextLoc, ObjectId> at[] = {
      {{s1, 0}, e1.id}, {{s1, 1}, e1.id}, {{s1, 2}, e2},    {{s1, 5}, e2},
      {{s1, 6}, e1.id}, {{s2, 0}, e1.id}, {{s2, 1}, e3.id}, {{s2, 4}, e3.id},
      {{s2, 5}, e1.id}, {{s2, 6}, e1.id},  // after the root's end: the flow's root all the same
  };
  for (const auto& [loc, expected] : at) {
    ObjectId element = 0;
    ASSERT_EQ(engine.ObjectAtTextLoc(sdoc, loc, element, text), 0);
    EXPECT_EQ(element, expected) << (loc.object == s1 ? "p1 " : "p2 ") << loc.offset;
  }
  ASSERT_EQ(engine.GetProp(sdoc, e2, P_ELEM_TEXT_RANGE, range), 0);
  EXPECT_EQ(std::make_pair(At(range.range.begin), At(range.range.end)),
            std::make_pair(Loc{s1, 1}, Loc{s1, 6}));
  ASSERT_EQ(engine.GetProp(sdoc, e3.id, P_ELEM_TEXT_RANGE, range), 0);
  EXPECT_EQ(At(range.range.begin), Loc(s2, 0));
  // From one element into the next: the insertion point at its end; inside one: kept.
  EXPECT_EQ(Select(sdoc, {{s1, 3}, {s2, 2}}), std::make_pair(Loc{s2, 2}, Loc{s2, 2}));
  EXPECT_EQ(Select(sdoc, {{s1, 2}, {s1, 4}}), std::make_pair(Loc{s1, 2}, Loc{s1, 4}));
}

}  // namespace
}  // namespace tlhost::testing
