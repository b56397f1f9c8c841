// Where the link layer delivers the host's callbacks. The command layer installs its handlers at
// load time; tests may install their own to watch what the link layer passes on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tolvane/numbers.h"

namespace osprevan::client {

// The argument of a notification: its text, or for a field-list notification the fields.
struct NotifyArgument {
  const char* text = nullptr;
  const std::vector<std::string>* fields = nullptr;
};

struct Handlers {
  void (*initialize)(int32_t initKind) = nullptr;
  void (*command)(int32_t command) = nullptr;
  void (*notify)(int32_t notification, tolvane::ObjectId object, const NotifyArgument& argument,
                 int32_t number) = nullptr;
  void (*dialogEvent)(int32_t dialogNumber, int32_t item, int32_t modifiers) = nullptr;
};

Handlers& CallbackHandlers();

// Splits a field-list text at every 0x1E byte; an empty text gives one empty field.
std::vector<std::string> SplitNotifyFields(const char* text);

}  // namespace osprevan::client
