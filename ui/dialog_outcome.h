// The result of the last dialog of an import, left for the code that ran it: the first-use
// warning, the input-file dialog and the filter dialog all write it.
#pragma once

#include <cstdint>

#include "hostlink/answer.h"

namespace osprevan::ui {

int32_t& DialogOutcome();

}  // namespace osprevan::ui
