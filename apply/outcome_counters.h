// How the placements of one import fared: six kinds of change, each counted as successful,
// misplaced or failed, the comments left out as imported before, and the warnings about the
// import as a whole. One set covers a whole import, a book's components added up.
#pragma once

#include <cstdint>
#include <vector>

namespace osprevan::apply {

enum OutcomeRow : int {
  kRowInsertions = 0,
  kRowDeletions = 1,
  kRowReplacements = 2,
  kRowNotes = 3,
  kRowUnderlines = 4,
  kRowHighlights = 5,
};

enum OutcomeColumn : int {
  kColumnSuccessful = 0,
  kColumnMisplaced = 1,
  kColumnFailed = 2,
};

constexpr int kOutcomeRows = 6;
constexpr int kOutcomeColumns = 3;

struct OutcomeCounters {
  int32_t counts[kOutcomeRows][kOutcomeColumns] = {};
  // Comments an earlier import of the same PDF placed already, left out of this one.
  int32_t alreadyImported = 0;
  // Messages (support/message_ids.h) shown after the counts, each once.
  std::vector<int> warnings;
};

}  // namespace osprevan::apply
