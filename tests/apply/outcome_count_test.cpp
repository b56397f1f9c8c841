// Counting applied placements for the summary.
#include "apply/outcome_count.h"

#include <gtest/gtest.h>

namespace osprevan::apply {
namespace {

using namespace ui;

TEST(CountOutcome, EachPlacementLandsInOneCellOrNone) {
  struct Case {
    uint32_t kind;
    uint8_t misplaced;
    int32_t result;
    int row, column;  // row -1: counted nowhere
  };
  const Case cases[] = {
      {PlaceInsertion, 0, 0, kRowInsertions, kColumnSuccessful},
      {PlaceDeletion, 0, 1, kRowDeletions, kColumnFailed},
      {PlaceReplacement, 1, 0, kRowReplacements, kColumnMisplaced},
      {PlaceNote, 1, 0, kRowNotes, kColumnSuccessful},         // a note is never misplaced
      {PlaceUnderline, 1, -3, kRowUnderlines, kColumnFailed},  // failing beats misplaced
      {PlaceHighlight, 1, 0, kRowHighlights, kColumnMisplaced},
      {PlaceHighlightNote, 0, 1, kRowHighlights, kColumnFailed},
      {PlaceOther, 0, 1, -1, 0},
      {4, 0, 0, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.kind << " result " << c.result);
    Placement placement;
    placement.kind = c.kind;
    placement.misplaced = c.misplaced;
    OutcomeCounters counters;
    CountOutcome(counters, placement, c.result);
    for (int r = 0; r < kOutcomeRows; ++r)
      for (int col = 0; col < kOutcomeColumns; ++col)
        EXPECT_EQ(counters.counts[r][col], r == c.row && col == c.column) << r << "," << col;
  }
}

}  // namespace
}  // namespace osprevan::apply
