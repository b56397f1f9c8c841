// Placements the host fails half way, or whose ends it refuses while they are validated: the
// document keeps its text and every character's conditions, change author and time byte for
// byte, gains only the comment's marker, and the placement says why it failed or was flagged.
#include <gtest/gtest.h>

#include <regex>

#include "apply/apply_placement.h"
#include "apply/comment_report.h"
#include "apply/validate_placement.h"
#include "host/engine/file_format.h"
#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

using K = PlacementKind;
using R = PlacementReason;

// Each run of the first paragraph has other conditions, change author and time, so that a run
// given back the wrong ones shows.
constexpr const char* kDocument = R"(<document version="1" next-unique="30">
  <condition name="TL8_TRACK_CHANGES_ADDED"/>
  <condition name="TL8_TRACK_CHANGES_DELETED"/>
  <condition name="TL_PDF_Comments_Highlight"/>
  <condition name="Internal" shown="no"/>
  <marker-type name="Comment"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1">Plain <c cond="TL8_TRACK_CHANGES_DELETED" author="Sato" time="1700000100"
      >struck</c> and <c cond="TL8_TRACK_CHANGES_ADDED" author="Rei" time="5">added</c><c
      cond="Internal">, hidden,</c> text<footnote-anchor ref="fn1"/> ends.</p>
    <p unique="2">Then the second one.</p>
  </flow>
  <footnote key="fn1" number="1"><p unique="20">Note <c cond="TL_PDF_Comments_Highlight"
    >marked</c> here.</p></footnote>
</document>)";

class RollbackTest : public InProcessPluginTest {
 protected:
  tolvane::TTextLoc At(int32_t unique, int32_t offset) {
    tolvane::ObjectId paragraph = 0;
    host_.engine().GetObjectByUniqueId(doc_, tolvane::OBJ_PARAGRAPH, unique, paragraph);
    return {paragraph, offset};
  }
  std::string Written() { return tlhost::WriteDocument(*host_.engine().document(doc_)); }

  tolvane::ObjectId doc_ = 0;
};

TEST_F(RollbackTest, AFailedOrFlaggedPlacementLeavesTheTextAsItWas) {
  struct Case {
    const char* name;
    PlacementKind kind;
    int32_t from, fromOffset, to, toOffset;  // paragraph unique number and offset
    const char* caret;                       // a replacement's new text; null: none
    bool withMarker;                         // contents, or a reply to the caret
    const char* fault;                       // the host refuses one call of it ...
    int after;                               // ... after letting this many through
    PlacementReason why;                     // the failure, or why it was flagged
    bool flagged;                            // misplaced: only its marker is made
  };
  const Case cases[] = {
      // The strike is taken back run by run, also inside the footnote its anchor took in.
      {"StrikeRefusedHalfWay", K::Deletion, 1, 0, 1, 36, nullptr, false, "SetTextProps", 4,
       R::ConditionRefused, false},
      // A replacement's strike drops the insertion it covers; taken back, Rei's is there again.
      {"NewTextRefused", K::Replacement, 1, 12, 1, 31, "new", false, "AddText", 0, R::TextRefused,
       false},
      {"StrikeOfAReplacementRefusedHalfWay", K::Replacement, 1, 12, 1, 31, "new", false,
       "SetTextProps", 2, R::ConditionRefused, false},
      {"MarkerOfAReplacementWithoutNewTextRefused", K::Replacement, 1, 12, 1, 31, "", true,
       "NewAnchoredObject", 0, R::MarkerRefused, false},
      {"HighlightRefusedHalfWay", K::Highlight, 1, 0, 1, 43, nullptr, false, "SetTextProps", 3,
       R::ConditionRefused, false},
      {"MarkerOfAHighlightRefused", K::HighlightNote, 1, 6, 1, 22, nullptr, true,
       "NewAnchoredObject", 0, R::MarkerRefused, false},
      // Validation: the ends or a piece refused, or the selection made of them.
      {"EndsRefused", K::Highlight, 1, 6, 2, 4, nullptr, false, "TestTextLocs", 0,
       R::EndsInDifferentFlows, true},
      {"PieceRefused", K::Deletion, 1, 38, 2, 4, nullptr, false, "TestTextLocs", 1, R::PieceRefused,
       true},
      {"SelectionRefused", K::Highlight, 1, 6, 1, 11, nullptr, false, "SetTextRange", 0,
       R::SelectionMoved, true},
      {"SelectionUnread", K::Replacement, 1, 6, 1, 11, "new", false, "GetTextRange", 0,
       R::SelectionMoved, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(host_.engine().LoadDocumentText(kDocument, "/tmp/rollback.tlv", doc_), 0);
    // Where an earlier placement left the selection.
    host_.engine().SetProp(doc_, doc_, tolvane::P_DOC_TEXT_SELECTION,
                           tlhost::Value::Range({At(2, 3), At(2, 3)}));
    pdf::PdfComment comment;
    std::string author = "Mika", contents = c.withMarker && !c.caret ? "Why?" : "";
    comment.SetAuthor(author);
    comment.SetContents(contents);
    if (c.caret) {
      auto caret = std::make_unique<pdf::PdfComment>();
      std::string text = c.caret;
      caret->SetContents(text);
      if (c.withMarker) caret->AddReply(std::make_unique<pdf::PdfComment>());
      comment.SetReplacement(std::move(caret));
    }
    Placement p;
    p.kind = c.kind;
    p.document = doc_;
    p.comment = &comment;
    p.begin = At(c.from, c.fromOffset);
    p.end = At(c.to, c.toOffset);
    const tolvane::TTextLoc end = p.end;
    const std::string before = Written();
    host_.faults().Fail(c.fault, tolvane::ERR_FAILED, 1, c.after);
    ValidatePlacement(p);
    const bool applied = ApplyPlacement(p, StruckRanges()).ok();
    host_.faults().ClearAll();
    const ReportEntry report = ReportPlacement(p, applied);
    EXPECT_EQ(report.outcome, c.flagged ? "misplaced" : "failed");
    EXPECT_EQ(report.reason, ReasonName(c.why));
    const std::string after = Written();
    // The comment's marker is all that is new, flagged or failed, unless the host refused the
    // marker itself; it stands at a place of the range.
    const std::regex marker(R"(<marker type="Comment" text="TL_PDF_Comment: [^>]*/>)");
    EXPECT_EQ(std::regex_replace(after, marker, ""), before);
    EXPECT_EQ(std::distance(std::sregex_iterator(after.begin(), after.end(), marker), {}),
              c.why == R::MarkerRefused ? 0 : 1);
    EXPECT_TRUE(p.end.object == end.object || p.end.object == At(c.from, 0).object);
  }
}

}  // namespace
}  // namespace osprevan::apply
