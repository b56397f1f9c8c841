#include "client/command_state.h"

namespace osprevan::client {

CommandState& Command() {
  static CommandState state;
  return state;
}

}  // namespace osprevan::client
