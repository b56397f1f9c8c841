// The order in which a document's placements are applied.
#include "apply/apply_order.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "pdf/content_element.h"

namespace osprevan::apply {
namespace {

// Placements over hand-made comments, each named by a letter for the expected order.
class ApplyOrderTest : public ::testing::Test {
 protected:
  Placement& Add(char name, PlacementKind kind, tolvane::ObjectId flow, uint32_t containerIndex,
                 int32_t endOffset, bool withContents = false) {
    auto& element = elements_.emplace_back(std::make_unique<pdf::ContentElement>());
    element->containerIndex = containerIndex;
    auto& comment = comments_.emplace_back(std::make_unique<pdf::PdfComment>());
    if (withContents) {
      std::string contents = "why?";
      comment->SetContents(contents);
    }
    pdf::TextRange range;
    range.start.element = range.end.element = element.get();
    comment->SetRange(range);
    Placement& p = placements_.emplace_back();
    p.kind = kind;
    p.flow = flow;
    p.end = {1, endOffset};
    p.comment = comment.get();
    names_.push_back(name);
    return p;
  }

  std::string Order() {
    std::string order;
    for (Placement* p : ApplicationOrder(placements_))
      order += names_[static_cast<size_t>(p - placements_.data())];
    return order;
  }

  std::vector<std::unique_ptr<pdf::ContentElement>> elements_;
  std::vector<std::unique_ptr<pdf::PdfComment>> comments_;
  std::vector<Placement> placements_;
  std::string names_;

  void SetUp() override { placements_.reserve(16); }
};

TEST_F(ApplyOrderTest, FlowsFirstThenUnmarkedInReverseThenMarkersFromTheEnd) {
  Add('a', PlacementKind::Highlight, 2, 1, 5);       // no marker, second flow
  Add('b', PlacementKind::Highlight, 1, 1, 5);       // no marker
  Add('c', PlacementKind::Note, 1, 1, 3);            // marker, paragraph 1
  Add('d', PlacementKind::Highlight, 1, 3, 9);       // no marker: goes before b, which came earlier
  Add('e', PlacementKind::Note, 1, 2, 0);            // marker, paragraph 2: before c
  Add('f', PlacementKind::Insertion, 1, 1, 7);       // marker, paragraph 1, larger offset: before c
  Add('g', PlacementKind::Deletion, 1, 1, 7, true);  // struck up to f's spot: before f
  Add('h', PlacementKind::Insertion, 1, 1, 7);       // unreplied insertion at f's spot: before f
  EXPECT_EQ(Order(), "dbeghfca");
}

// Applied at one spot, the later one stands first in the text: marked-up text is applied before
// new text at its end, new text last on the page first, notes after new text.
TEST_F(ApplyOrderTest, CommentsThatMeetAtOneSpot) {
  struct Case {
    const char* name;
    PlacementKind first, second;  // in page order, both ending at one spot with contents
    const char* order;
  };
  using K = PlacementKind;
  const Case cases[] = {
      {"StrikeOutThenCaret", K::Deletion, K::Insertion, "ab"},
      {"CaretThenStrikeOut", K::Insertion, K::Deletion, "ba"},
      {"HighlightNoteThenCaret", K::HighlightNote, K::Insertion, "ab"},
      {"CaretThenUnderline", K::Insertion, K::Underline, "ba"},
      {"TwoCarets", K::Insertion, K::Insertion, "ba"},
      {"CaretAndReplacement", K::Insertion, K::Replacement, "ba"},
      {"NoteThenCaret", K::Note, K::Insertion, "ba"},
      {"TwoNotes", K::Note, K::Note, "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    placements_.clear();
    names_.clear();
    Add('a', c.first, 1, 1, 4, true);
    Add('b', c.second, 1, 1, 4, true);
    EXPECT_EQ(Order(), c.order);
  }
}

TEST_F(ApplyOrderTest, AMisplacedInsertionDoesNotJumpAheadAtItsSpot) {
  Add('a', PlacementKind::Insertion, 1, 1, 7);
  Add('b', PlacementKind::Insertion, 1, 1, 7).Misplace(PlacementReason::Unconfirmed);
  Add('c', PlacementKind::Insertion, 1, 1, 7);
  EXPECT_EQ(Order(), "cab");
}

}  // namespace
}  // namespace osprevan::apply
