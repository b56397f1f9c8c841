// For tests that still index the messages by number: the plug-in's own string table, read
// through fixtures::Message, never a copy of it. New tests call fixtures::Message directly.
#pragma once

#include <string>

#include "tests/fixtures/plugin_messages.h"

namespace osprevan::support::testing {

struct PluginMessageTable {
  std::string operator[](int id) const { return fixtures::Message(id); }
};
inline constexpr PluginMessageTable kExpectedMessages{};

}  // namespace osprevan::support::testing
