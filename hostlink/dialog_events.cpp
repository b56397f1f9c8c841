#include "hostlink/dialog_events.h"

#include <map>

namespace osprevan::hostlink {
namespace {

std::map<int32_t, DialogEventHandler>& HandlersByNumber() {
  static std::map<int32_t, DialogEventHandler> handlers;
  return handlers;
}

}  // namespace

void SetDialogEventHandler(int32_t dialogNumber, DialogEventHandler handler) {
  if (handler) {
    HandlersByNumber()[dialogNumber] = handler;
  } else {
    HandlersByNumber().erase(dialogNumber);
  }
}

void DispatchDialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) {
  auto found = HandlersByNumber().find(dialogNumber);
  if (found != HandlersByNumber().end()) found->second(item, modifiers);
}

}  // namespace osprevan::hostlink
