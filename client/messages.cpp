#include "client/messages.h"

#include "client/command_state.h"
#include "client/host_ops.h"
#include "ui/ui_strings.h"

namespace osprevan::client {

void ShowMessage(const std::string& text) {
  if (Command().calledFromClient == 1) {
    HostPrintConsole(text);
  } else {
    HostAlert(text, tolvane::ALERT_MESSAGE);
  }
}

void ShowMessage(int messageId) {
  ShowMessage(ui::UiString(messageId, kAlertTextCapacity));
}

bool QuestionsAreAsked() {
  return Command().calledFromClient != 1 && Command().madeBeforeVersion12 != 0;
}

int32_t AskQuestion(const std::string& text) {
  if (!QuestionsAreAsked()) return kAnswerContinue;
  return HostAlert(text, tolvane::ALERT_YES_NO) == 0 ? kAnswerContinue : kAnswerStop;
}

int32_t AskQuestion(int messageId) {
  return AskQuestion(ui::UiString(messageId, kAlertTextCapacity));
}

}  // namespace osprevan::client
