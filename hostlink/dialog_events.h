// Routes the host's dialog events to the dialog that is up, by its dialog number.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace osprevan::hostlink {

// A dialog's handler holds the state of the dialog's run, so that none is kept between runs.
using DialogEventHandler = std::function<void(int32_t item, int32_t modifiers)>;

// Dialog numbers of the host-run dialogs.
constexpr int32_t kWarningDialogNumber = 4;
constexpr int32_t kInputDialogNumber = 5;
constexpr int32_t kSummaryDialogNumber = 6;

// Installs the handler for a dialog number; an empty one removes it.
void SetDialogEventHandler(int32_t dialogNumber, DialogEventHandler handler);

// Installs a handler for as long as it lives, for one modal run of a dialog.
class ScopedDialogEventHandler {
 public:
  ScopedDialogEventHandler(int32_t dialogNumber, DialogEventHandler handler)
      : dialogNumber_(dialogNumber) {
    SetDialogEventHandler(dialogNumber_, std::move(handler));
  }
  ~ScopedDialogEventHandler() { SetDialogEventHandler(dialogNumber_, nullptr); }
  ScopedDialogEventHandler(const ScopedDialogEventHandler&) = delete;
  ScopedDialogEventHandler& operator=(const ScopedDialogEventHandler&) = delete;

 private:
  int32_t dialogNumber_;
};

// Passes an event to the handler of its dialog number; other numbers are ignored.
void DispatchDialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers);

}  // namespace osprevan::hostlink
