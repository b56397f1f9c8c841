#include "hostlink/messages.h"

#include "hostlink/host_ops.h"
#include "support/ui_strings.h"

namespace osprevan::hostlink {

void ShowMessage(const Caller& caller, const std::string& text, int32_t alertKind) {
  if (caller.isOtherClient) {
    // A line of its own: the console holds whatever was printed before, without a line end.
    HostPrintConsole("\n" + text);
  } else {
    HostAlert(text, alertKind);
  }
}

void ShowMessage(const Caller& caller, int messageId, int32_t alertKind) {
  ShowMessage(caller, support::UiString(messageId, kAlertTextCapacity), alertKind);
}

int32_t AskQuestion(const std::string& text) {
  return HostAlert(text, tolvane::ALERT_YES_NO) == 0 ? kAnswerContinue : kAnswerStop;
}

int32_t AskQuestion(int messageId) {
  return AskQuestion(support::UiString(messageId, kAlertTextCapacity));
}

}  // namespace osprevan::hostlink
