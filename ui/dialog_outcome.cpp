#include "ui/dialog_outcome.h"

namespace osprevan::ui {

int32_t& DialogOutcome() {
  static int32_t outcome = hostlink::kAnswerContinue;
  return outcome;
}

}  // namespace osprevan::ui
