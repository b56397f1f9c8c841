// How the placements of one import fared: six kinds of change, each counted as successful,
// misplaced or failed. One set covers a whole import, a book's components added up.
#pragma once

#include <cstdint>

namespace osprevan::ui {

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
};

}  // namespace osprevan::ui
