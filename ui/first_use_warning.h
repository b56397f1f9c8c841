// The warning shown before an import until the user ticks "do not show again" and continues.
#pragma once

#include <cstdint>

namespace osprevan::ui {

// Answers hostlink::kAnswerContinue, hostlink::kAnswerStop for No, or 0 when the dialog was
// closed without an answer; updates `dontShowWarning` from the
// dialog's check box whatever the answer. Only for a person at the host: an import another
// client started goes on without it.
int32_t ShowFirstUseWarning(int32_t& dontShowWarning);

}  // namespace osprevan::ui
