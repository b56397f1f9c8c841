#include "hostlink/dialog_events.h"

#include <map>
#include <utility>

namespace osprevan::hostlink {
namespace {

std::map<int32_t, DialogEventHandler>& HandlersByNumber() {
  static std::map<int32_t, DialogEventHandler> handlers;
  return handlers;
}

}  // namespace

void SetDialogEventHandler(int32_t dialogNumber, DialogEventHandler handler) {
  if (handler) {
    HandlersByNumber()[dialogNumber] = std::move(handler);
  } else {
    HandlersByNumber().erase(dialogNumber);
  }
}

void DispatchDialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) {
  auto found = HandlersByNumber().find(dialogNumber);
  if (found == HandlersByNumber().end()) return;
  // A copy: the handler may remove itself while it runs.
  const DialogEventHandler handler = found->second;
  handler(item, modifiers);
}

}  // namespace osprevan::hostlink
