// Ranges taken apart along the host's paragraph lists.
#include <gtest/gtest.h>

#include "apply/range_pieces.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

using tolvane::ObjectId;

constexpr const char* kDocument = R"(<document version="1">
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1">Before<footnote-anchor ref="fn1"/> it<table-anchor ref="t1"/></p>
    <p unique="2">After</p>
  </flow>
  <table key="t1" title="yes"><title><p unique="10">Title</p></title>
    <row kind="body"><cell key="c1"><p unique="11">A1</p></cell>
      <cell key="c2"><p unique="12">B1</p></cell></row>
    <row kind="body"><cell key="c3"><p unique="13">A2</p></cell>
      <cell key="c4"><p unique="14">B2</p></cell></row>
  </table>
  <footnote key="fn1" number="1"><p unique="20">Note</p><p unique="21">More</p></footnote>
</document>)";

class RangePiecesTest : public InProcessPluginTest {
 protected:
  void SetUp() override {
    InProcessPluginTest::SetUp();
    ASSERT_EQ(host_.engine().LoadDocumentText(kDocument, "/tmp/pieces.tlv", doc_), 0);
  }

  ObjectId Paragraph(int32_t unique) {
    ObjectId id = 0;
    host_.engine().GetObjectByUniqueId(doc_, tolvane::OBJ_PARAGRAPH, unique, id);
    return id;
  }
  // "unique:offset" of a location.
  std::string Where(const tolvane::TTextLoc& at) {
    for (int32_t unique : {1, 2, 10, 11, 12, 13, 14, 20, 21})
      if (Paragraph(unique) == at.object)
        return std::to_string(unique) + ":" + std::to_string(at.offset);
    return "?";
  }

  ObjectId doc_ = 0;
};

TEST_F(RangePiecesTest, RangesAcrossListsArePiecesOfOneListEach) {
  struct Case {
    const char* name;
    int32_t from, fromOffset, to, toOffset;
    std::vector<std::string> pieces;  // "from-to"
  };
  const Case cases[] = {
      {"OneList", 1, 2, 2, 3, {"1:2-2:3"}},
      // The cells between come whole; the table's anchor stays out.
      {"CellToCell", 11, 1, 14, 1, {"11:1-11:3", "12:0-12:3", "13:0-13:3", "14:0-14:1"}},
      // Out of the footnote through its anchor: the footnote's rest, then the flow after it.
      {"FootnoteToFlow", 20, 2, 2, 3, {"20:2-21:5", "1:7-2:3"}},
      // Into a table: the title and the cells before the one the range ends in.
      {"FlowToCell", 1, 0, 13, 1, {"1:0-1:10", "10:0-10:6", "11:0-11:3", "12:0-12:3", "13:0-13:1"}},
      {"NoParagraph", 1, 0, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const tolvane::TTextRange range{{Paragraph(c.from), c.fromOffset},
                                    {c.to ? Paragraph(c.to) : 0, c.toOffset}};
    std::vector<std::string> pieces;
    for (const auto& piece : SplitIntoPieces(doc_, range))
      pieces.push_back(Where(piece.begin) + "-" + Where(piece.end));
    EXPECT_EQ(pieces, c.pieces);
  }
}

}  // namespace
}  // namespace osprevan::apply
