// The last look at a placement before it is applied, in a structured paragraph: what a struck
// range leaves out or is flagged for, where new text goes at an element's end, and a range the
// host takes for no text at all.
#include "apply/validate_placement.h"

#include <gtest/gtest.h>

#include "tests/apply/in_process_plugin.h"

namespace osprevan::apply {
namespace {

using K = PlacementKind;
using R = PlacementReason;

// Offsets: 0 and 1 open the topic and the p, "Old text." is 2..10, 11 closes the p, 12 the topic.
constexpr const char* kDocument = R"(<document version="1" next-unique="2">
  <condition name="TL8_TRACK_CHANGES_ADDED"/>
  <condition name="TL8_TRACK_CHANGES_DELETED"/>
  <marker-type name="Comment"/>
  <element-def name="topic"/>
  <element-def name="p"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <structure>
      <element key="e1" def="topic"><element key="e2" def="p"/></element>
    </structure>
    <p unique="1"><element-begin ref="e1"/><element-begin ref="e2"/>Old text.<element-end
      ref="e2"/><element-end ref="e1"/></p>
  </flow>
</document>)";

class ValidatePlacementTest : public InProcessPluginTest {};

TEST_F(ValidatePlacementTest, StructuredRangesAndPoints) {
  struct Case {
    const char* name;
    PlacementKind kind;
    int32_t begin, end;                    // as located
    int32_t wantBegin, wantEnd, insertAt;  // afterwards; insertAt -1: none
    PlacementReason why;                   // None: not misplaced
  };
  const Case cases[] = {
      {"InsertionAtAnElementEndStaysInside", K::Insertion, 11, 11, 11, 11, -1, R::None},
      {"ReplacementBeforeAnElementEndPutsItsTextInside", K::Replacement, 6, 11, 6, 11, 11, R::None},
      {"DeletionFromAnElementBeginLeavesItOut", K::Deletion, 1, 5, 2, 5, -1, R::None},
      {"DeletionOverAnElementEndIsFlagged", K::Deletion, 6, 12, 12, 12, -1, R::CoversAnchor},
      {"ReplacementOverAnElementEndIsFlagged", K::Replacement, 6, 12, 12, 12, -1, R::CoversAnchor},
      // The host makes a selection over two elements the point at its end: nothing of the
      // drawn text would be marked.
      {"HighlightTheHostTakesForAPointIsFlagged", K::Highlight, 6, 12, 12, 12, -1,
       R::SelectionMoved},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tolvane::ObjectId doc = 0, paragraph = 0;
    ASSERT_EQ(host_.engine().LoadDocumentText(kDocument, "validate.tlv", doc), 0);
    host_.engine().GetObjectByUniqueId(doc, tolvane::OBJ_PARAGRAPH, 1, paragraph);
    Placement p;
    p.kind = c.kind;
    p.document = doc;
    p.begin = {paragraph, c.begin};
    p.end = {paragraph, c.end};
    ValidatePlacement(p);
    EXPECT_EQ(p.misplaced, c.why != R::None);
    EXPECT_EQ(ReasonName(p.reason), std::string(ReasonName(c.why)));
    EXPECT_EQ(p.begin.offset, c.wantBegin);
    EXPECT_EQ(p.end.offset, c.wantEnd);
    EXPECT_EQ(p.insertAt.object ? p.insertAt.offset : -1, c.insertAt);
  }
}

}  // namespace
}  // namespace osprevan::apply
