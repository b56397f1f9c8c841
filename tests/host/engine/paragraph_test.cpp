// The paragraph's compact text: positions stored in one, two or four bytes, properties as runs
// of interned ids. Each is checked against a plain model of one value per position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/engine/paragraph.h"

namespace tlhost::testing {
namespace {

using namespace tolvane;

constexpr char32_t ItemCode(uint32_t index) {
  return PositionArray::kFirstItem + index;
}

std::u32string Items(uint32_t from, uint32_t to) {
  std::u32string codes;
  for (uint32_t i = from; i < to; ++i) codes += ItemCode(i);
  return codes;
}

TEST(PositionArray, KeepsEveryCodeWhileWidening) {
  struct Insert {
    size_t at;
    std::u32string codes;
  };
  const struct {
    const char* name;
    std::vector<Insert> inserts;
  } cases[] = {
      {"OneByte", {{0, U"a\t\n\r\u00e9\u00ff"}, {2, {ItemCode(0), ItemCode(28)}}}},
      {"TheThirtiethItemNeedsTwoBytes", {{0, U"ab"}, {1, Items(0, 29)}, {30, Items(29, 30)}}},
      {"BmpTextNeedsTwoBytes", {{0, U"ab"}, {1, Items(0, 3)}, {4, U"日本\uffff"}}},
      {"AstralTextNeedsFourBytes", {{0, Items(0, 2)}, {1, U"x日"}, {2, U"\U0001F600\U0010FFFF"}}},
      {"TheItem2048NeedsFourBytes", {{0, U"日"}, {0, Items(0, 2048)}, {5, Items(2048, 2049)}}},
  };
  for (const auto& c : cases) {
    PositionArray positions;
    std::u32string model;
    for (const Insert& insert : c.inserts) {
      positions.Insert(insert.at, insert.codes);
      model.insert(insert.at, insert.codes);
    }
    ASSERT_EQ(positions.size(), model.size()) << c.name;
    for (size_t i = 0; i < model.size(); ++i) {
      ASSERT_EQ(positions[i], model[i]) << c.name << " at " << i;
    }
  }
}

TEST(PropsRuns, MatchPropertiesKeptPerPosition) {
  enum Op { kInsert, kSet, kAddTen };
  struct Step {
    Op op;
    int32_t a, b;  // kInsert: position and count; else the range [a, b)
    PropsId props;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"InsertBeforeAfterAndInsideARun",
       {{kInsert, 0, 4, 1}, {kInsert, 4, 2, 2}, {kInsert, 2, 1, 3}, {kInsert, 0, 1, 1}}},
      {"SetSplitsARunInThree", {{kInsert, 0, 6, 0}, {kSet, 2, 4, 5}}},
      {"SetOverSeveralRunsAndTheEnd",
       {{kInsert, 0, 3, 1}, {kInsert, 3, 3, 2}, {kSet, 2, 7, 3}, {kSet, 0, 1, 3}}},
      {"EqualNeighboursMerge",
       {{kInsert, 0, 6, 0}, {kSet, 1, 2, 4}, {kSet, 3, 4, 4}, {kSet, 2, 3, 4}, {kSet, 0, 7, 0}}},
      {"ChangeDependsOnEachRun", {{kInsert, 0, 2, 1}, {kInsert, 2, 2, 2}, {kAddTen, 1, 3, 0}}},
      {"InsertIntoAChangedRunAtItsBorders",
       {{kInsert, 0, 5, 0}, {kSet, 1, 3, 6}, {kInsert, 1, 1, 6}, {kInsert, 4, 2, 7}}},
  };
  for (const auto& c : cases) {
    PropsRuns runs;
    std::vector<PropsId> model(1, kPlainProps);  // the paragraph end
    for (const Step& s : c.steps) {
      if (s.op == kInsert) {
        runs.Insert(s.a, s.b, s.props);
        model.insert(model.begin() + s.a, static_cast<size_t>(s.b), s.props);
        continue;
      }
      const auto change = [&](PropsId old) { return s.op == kSet ? s.props : old + 10; };
      runs.Change(s.a, s.b, change);
      for (int32_t i = s.a; i < s.b; ++i) model[i] = change(model[i]);
    }
    const auto length = static_cast<int32_t>(model.size());
    ASSERT_EQ(runs.length(), length) << c.name;
    for (int32_t i = 0; i < length; ++i) {
      int32_t end = i + 1;
      while (end < length && model[end] == model[i]) ++end;
      EXPECT_EQ(runs.at(i), model[i]) << c.name << " at " << i;
      EXPECT_EQ(runs.RunEnd(i), end) << c.name << " at " << i;  // runs change where props do
    }
  }
}

TEST(CharPropsTable, EqualPropertiesShareOneId) {
  std::vector<CharProps> all = {{},           {{1}, "", 0}, {{1, 2}, "", 0}, {{2, 1}, "", 0},
                                {{}, "a", 0}, {{}, "", 5},  {{1}, "a", 5}};
  for (int64_t time = 1; time <= 500; ++time) all.push_back({{3}, "b", time});
  CharPropsTable table;
  std::vector<PropsId> ids;
  for (const CharProps& props : all) ids.push_back(table.Intern(props));
  EXPECT_EQ(ids[0], kPlainProps);
  EXPECT_EQ(table.size(), all.size());
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(table.Intern(CharProps(all[i])), ids[i]) << i;
    EXPECT_EQ(table[ids[i]], all[i]) << i;
  }
}

// The paragraph's text with items as [KIND:ID] and the end as ¶.
std::string Render(const Paragraph& p) {
  std::string out;
  for (int32_t i = 0; i < p.length(); ++i) {
    if (p.isCharacter(i)) {
      p.AppendText(i, i + 1, out);
    } else {
      const Paragraph::Item item = p.item(i);
      out += item.kind == TI_PARAGRAPH_END
                 ? "¶"
                 : "[" + std::to_string(item.kind) + ":" + std::to_string(item.id) + "]";
    }
  }
  return out;
}

TEST(Paragraph, TextAndItemsInsertedAtAnItemGoBeforeIt) {
  Paragraph p;
  p.InsertCharacters(0, U"abcd");
  p.InsertItem(2, {TI_MARKER_ANCHOR, 7});
  p.InsertCharacters(2, U"XY");
  p.InsertItem(4, {TI_TABLE_ANCHOR, 9});
  p.InsertCharacters(0, U"日");
  EXPECT_EQ(Render(p), "日abXY[8:9][4:7]cd¶");
  EXPECT_EQ(p.FindItem(7, TI_MARKER_ANCHOR), 6);
  EXPECT_EQ(p.FindItem(9, TI_ALL), 5);
  EXPECT_EQ(p.FindItem(7, TI_TABLE_ANCHOR), -1);
  EXPECT_EQ(p.CharactersEnd(1, p.length()), 5);
  std::string text;
  p.AppendText(0, p.length(), text);
  EXPECT_EQ(text, "日abXYcd");
}

}  // namespace
}  // namespace tlhost::testing
