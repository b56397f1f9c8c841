#include "hostlink/call_refusal.h"

#include "hostlink/command_state.h"
#include "hostlink/host_ops.h"

namespace osprevan::hostlink {

void AnswerRefusal(CallRefusal why) {
  if (Command().calledFromClient) HostReturnValue(why);
}

}  // namespace osprevan::hostlink
