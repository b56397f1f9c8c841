// The result of the last dialog of an import, left for the code that ran it: the first-use
// warning, the input-file dialog and the filter dialog all write it.
#pragma once

#include <cstdint>

namespace osprevan::ui {

constexpr int32_t kOutcomeCancel = 1;
constexpr int32_t kOutcomeContinue = 2;

int32_t& DialogOutcome();

}  // namespace osprevan::ui
