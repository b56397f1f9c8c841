// Counting applied placements for the summary.
#include "apply/outcome_count.h"

#include <gtest/gtest.h>

namespace osprevan::apply {
namespace {


TEST(CountOutcome, FailingBeatsMisplacedAndANoteIsMisplacedOnlyWhereTheDocumentDiffers) {
  struct Case {
    PlacementKind kind;
    bool misplaced;
    PlacementReason documentDiffers;
    bool applied;
    int column;  // in the kind's summary row; -1: counted nowhere
  };
  const Case cases[] = {
      {PlacementKind::Underline, true, PlacementReason::None, false, kColumnFailed},
      {PlacementKind::Replacement, true, PlacementReason::None, true, kColumnMisplaced},
      {PlacementKind::Note, true, PlacementReason::None, true, kColumnSuccessful},
      {PlacementKind::Note, true, PlacementReason::TextChanged, true, kColumnMisplaced},
      {PlacementKind::Other, false, PlacementReason::None, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << PlacementKindName(c.kind) << " applied " << c.applied);
    Placement placement;
    placement.kind = c.kind;
    placement.misplaced = c.misplaced;
    placement.documentDiffers = c.documentDiffers;
    OutcomeCounters counters;
    CountOutcome(counters, placement, c.applied);
    int total = 0;
    for (const auto& row : counters.counts) total += row[0] + row[1] + row[2];
    EXPECT_EQ(total, c.column < 0 ? 0 : 1);
    EXPECT_TRUE(c.column < 0 || counters.counts[KindRow(c.kind).summaryRow][c.column] == 1);
  }
}

}  // namespace
}  // namespace osprevan::apply
