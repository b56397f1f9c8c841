// The warning shown before an import until the user ticks "do not show again" and continues.
#pragma once

#include <cstdint>

namespace osprevan::session {

// Answers 2 continue, 1 No, 0 closed without an answer; updates `dontShowWarning` from the
// dialog's check box whatever the answer.
int32_t ShowFirstUseWarning(int32_t& dontShowWarning);

}  // namespace osprevan::session
