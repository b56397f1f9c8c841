// Counting applied placements for the summary, and the usage event of a conversion.
#include "apply/outcome_count.h"

#include <gtest/gtest.h>

#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "platform/win/module.h"

extern "C" int32_t T_ApiClientInit(void*, tolvane::IUnknown*, tolvane::IUnknown*,
                                   const tolvane::TClientInfoList*);

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

TEST(ReportConversion, TellsStructuredFromUnstructuredDocuments) {
  tlhost::Host host;
  auto* self = win::ModuleFromAddress(reinterpret_cast<void*>(&T_ApiClientInit));
  ASSERT_EQ(host.client(host.LinkClient(T_ApiClientInit, self, "in-process")).initResult(), 0);
  const tolvane::ObjectId plain = host.engine().NewDocument("/docs/plain.tlv");
  const tolvane::ObjectId structured = host.engine().NewDocument("/docs/structured.tlv");
  ASSERT_NE(host.engine().SetStructureRoot(structured, "Chapter", {}), 0u);
  for (tolvane::ObjectId document : {plain, structured, tolvane::ObjectId{0}})
    ReportConversion(document);
  std::vector<std::string> seen;
  for (const tlhost::UsageRecord& u : host.recorder().usage)
    seen.push_back(u.category + " " + u.feature + " " + u.event);
  EXPECT_EQ(seen, (std::vector<std::string>{"Osprevan UnstructureDoc Successful",
                                            "Osprevan StructureDoc Successful",
                                            "Osprevan UnstructureDoc Successful"}));
}

}  // namespace
}  // namespace osprevan::apply
