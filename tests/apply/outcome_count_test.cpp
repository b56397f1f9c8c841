// Counting applied placements for the summary.
#include "apply/outcome_count.h"

#include <gtest/gtest.h>

namespace osprevan::apply {
namespace {

// A note is misplaced only where the document differs at its place, or where its icon points
// at two places about as well.
TEST(CountOutcome, FailingBeatsMisplacedAndANoteIsMisplacedOnlyWhereItsPlaceIsInDoubt) {
  struct Case {
    PlacementKind kind;
    bool misplaced;
    PlacementReason reason;  // why it is misplaced
    PlacementReason documentDiffers;
    bool applied;
    int column;  // in the kind's summary row; -1: counted nowhere
  };
  const Case cases[] = {
      {PlacementKind::Underline, true, PlacementReason::NoElement, PlacementReason::None, false,
       kColumnFailed},
      {PlacementKind::Replacement, true, PlacementReason::NoElement, PlacementReason::None, true,
       kColumnMisplaced},
      {PlacementKind::Note, true, PlacementReason::NoElement, PlacementReason::None, true,
       kColumnSuccessful},
      {PlacementKind::Note, true, PlacementReason::TextChanged, PlacementReason::TextChanged, true,
       kColumnMisplaced},
      {PlacementKind::Note, true, PlacementReason::TwoPlaces, PlacementReason::None, true,
       kColumnMisplaced},
      {PlacementKind::Other, false, PlacementReason::None, PlacementReason::None, false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << PlacementKindName(c.kind) << " applied " << c.applied);
    Placement placement;
    placement.kind = c.kind;
    if (c.misplaced) placement.Misplace(c.reason);
    placement.documentDiffers = c.documentDiffers;
    OutcomeCounters counters;
    CountOutcome(counters, placement, c.applied);
    int total = 0;
    for (const auto& row : counters.counts) total += row[0] + row[1] + row[2];
    EXPECT_EQ(total, c.column < 0 ? 0 : 1);
    EXPECT_TRUE(c.column < 0 || counters.counts[SummaryRow(KindRow(c.kind).read)][c.column] == 1);
  }
}

}  // namespace
}  // namespace osprevan::apply
