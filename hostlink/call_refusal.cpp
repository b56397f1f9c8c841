#include "hostlink/call_refusal.h"

#include <utility>

#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "support/ui_strings.h"

namespace osprevan::hostlink {

void AnswerRefusal(const Caller& caller, CallRefusal why) {
  if (caller.isOtherClient) HostReturnValue(why);
}

support::Status Refuse(const Caller& caller, int messageId, CallRefusal why, std::string reason,
                       int32_t alertKind) {
  ShowMessage(caller, messageId, alertKind);
  AnswerRefusal(caller, why);
  return support::Status::Refused(std::move(reason)).Telling(messageId);
}

support::Status RefuseWithAlert(const Caller& caller, int messageId, CallRefusal why,
                                std::string reason) {
  HostAlert(support::UiString(messageId, kAlertTextCapacity), tolvane::ALERT_MESSAGE);
  AnswerRefusal(caller, why);
  return support::Status::Refused(std::move(reason)).Telling(messageId);
}

}  // namespace osprevan::hostlink
