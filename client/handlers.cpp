#include "client/handlers.h"

namespace osprevan::client {

Handlers& CallbackHandlers() {
  static Handlers handlers;
  return handlers;
}

std::vector<std::string> SplitNotifyFields(const char* text) {
  std::vector<std::string> fields(1);
  if (!text) return fields;
  for (const char* p = text; *p; ++p) {
    if (*p == '\x1E') {
      fields.emplace_back();
    } else {
      fields.back().push_back(*p);
    }
  }
  return fields;
}

}  // namespace osprevan::client
