#include "hostlink/command_state.h"

namespace osprevan::hostlink {

CommandState& Command() {
  static CommandState state;
  return state;
}

}  // namespace osprevan::hostlink
