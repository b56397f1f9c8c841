// Routes the host's dialog events to the dialog that is up, by its dialog number.
#pragma once

#include <cstdint>

namespace osprevan::hostlink {

using DialogEventHandler = void (*)(int32_t item, int32_t modifiers);

// Dialog numbers of the host-run dialogs.
constexpr int32_t kWarningDialogNumber = 4;
constexpr int32_t kInputDialogNumber = 5;
constexpr int32_t kSummaryDialogNumber = 6;

// Installs the handler for a dialog number; null removes it.
void SetDialogEventHandler(int32_t dialogNumber, DialogEventHandler handler);

// Passes an event to the handler of its dialog number; other numbers are ignored.
void DispatchDialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers);

}  // namespace osprevan::hostlink
