// Item numbers of the summary dialog ("SMRY"): the host addresses a control by its identifier
// minus 100. Rows follow the order of OutcomeCounters.
#pragma once

#include <cstdint>

#include "apply/outcome_counters.h"

namespace osprevan::ui {

enum SummaryDialogItem : int32_t {
  kSummaryHeadlineItem = 0,  // the first control 100, at the top; not the note at the bottom
  kSummaryOkItem = 3,
  kSummaryFirstSuccessfulItem = 11,  // six counts from here, one per row
  kSummaryFirstMisplacedItem = 18,
  kSummaryFirstFailedItem = 25,
  kSummaryNoticeItem = 31,  // the lines after the counts, from the import's notices
};

// The label of each row; the gap after 2 is the OK button and the group box.
constexpr int32_t kSummaryRowLabelItems[apply::kOutcomeRows] = {2, 5, 6, 7, 8, 9};

// The item of a row's count in a column (successful, misplaced, failed).
constexpr int32_t SummaryCountItem(int row, int column) {
  constexpr int32_t kFirst[apply::kOutcomeColumns] = {
      kSummaryFirstSuccessfulItem, kSummaryFirstMisplacedItem, kSummaryFirstFailedItem};
  return kFirst[column] + row;
}

}  // namespace osprevan::ui
