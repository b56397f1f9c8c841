// How the placements of one import fared: six kinds of change, each counted as successful,
// misplaced or failed, the comments left out as imported before, and the warnings about the
// import as a whole. One set covers a whole import, a book's components added up.
#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

#include "pdf/comment_kind.h"

namespace osprevan::apply {

// The summary's rows: one per kind read from the PDF, in the order the summary shows them.
constexpr pdf::CommentKind kSummaryRowKinds[] = {pdf::Insert, pdf::Delete,    pdf::Replace,
                                                 pdf::Note,   pdf::Underline, pdf::Highlight};

// The row that counts a kind; -1 for a kind the summary does not count.
constexpr int SummaryRow(pdf::CommentKind kind) {
  for (int row = 0; row < static_cast<int>(std::size(kSummaryRowKinds)); ++row) {
    if (kSummaryRowKinds[row] == kind) return row;
  }
  return -1;
}

enum OutcomeColumn : int {
  kColumnSuccessful = 0,
  kColumnMisplaced = 1,
  kColumnFailed = 2,
};

constexpr int kOutcomeRows = static_cast<int>(std::size(kSummaryRowKinds));
constexpr int kOutcomeColumns = 3;

struct OutcomeCounters {
  int32_t counts[kOutcomeRows][kOutcomeColumns] = {};
  // Comments an earlier import of the same PDF placed already, left out of this one.
  int32_t alreadyImported = 0;
  // Messages (support/message_ids.h) shown after the counts, each once.
  std::vector<int> warnings;
};

}  // namespace osprevan::apply
