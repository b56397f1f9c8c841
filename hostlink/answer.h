// The one set of answers that questions and dialogs leave for the code that asked: the yes/no
// question routine, the result of the host-run dialogs and the native filter dialog all use it.
#pragma once

#include <cstdint>

namespace osprevan::hostlink {

enum Answer : int32_t {
  kAnswerStop = 1,      // No, Cancel, or the dialog closed
  kAnswerContinue = 2,  // Yes or Continue
};

}  // namespace osprevan::hostlink
