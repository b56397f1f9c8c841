#include "ui/first_use_warning.h"

#include "hostlink/answer.h"
#include "hostlink/command_state.h"
#include "hostlink/dialog_events.h"
#include "hostlink/host_ops.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "ui/warning_dialog_items.h"

namespace osprevan::ui {
namespace {

constexpr size_t kFormattedCapacity = 1023;

struct WarningState {
  tolvane::ObjectId dialog = 0;
  int32_t working = 0;
  int32_t answer = 0;
  int32_t* target = nullptr;
};

WarningState g_warning;

void WarningEvent(int32_t item, int32_t) {
  switch (item) {
    case kWarningCheckBoxItem:
      g_warning.working = g_warning.working ? 0 : 1;
      break;
    case kWarningYesItem:
      g_warning.answer = hostlink::kAnswerContinue;
      if (g_warning.target) *g_warning.target = g_warning.working;
      HostClose(g_warning.dialog, tolvane::CLOSE_DISCARD);
      break;
    case kWarningNoItem:
      g_warning.answer = hostlink::kAnswerStop;
      HostClose(g_warning.dialog, tolvane::CLOSE_DISCARD);
      break;
    default:
      break;
  }
}

std::string Formatted(int id) {
  std::string buffer(kFormattedCapacity + 1, '\0');
  const size_t n = support::FormatUiString(id, buffer.data(), buffer.size());
  buffer.resize(n);
  return buffer;
}

}  // namespace

int32_t ShowFirstUseWarning(int32_t& dontShowWarning) {
  if (hostlink::Command().calledFromClient == 1) return hostlink::kAnswerContinue;
  g_warning = WarningState{};
  g_warning.working = dontShowWarning;
  g_warning.target = &dontShowWarning;
  g_warning.dialog = HostOpenDialogResource(tolvane::DIALOG_RESOURCE, "warningdialog");
  if (g_warning.dialog) {
    (void)support::UiString(support::MSG_WARNING_PLACEHOLDER);
    const tolvane::ObjectId box = HostDialogItem(g_warning.dialog, kWarningCheckBoxItem);
    HostSetInt(g_warning.dialog, box, tolvane::P_ITEM_STATE, g_warning.working ? 1 : 0);
    const std::string product = HostGetString(0, 0, tolvane::P_SESSION_PRODUCT_NAME);
    const int productLine =
        product == "Tolvane Brevis" ? support::MSG_WARNING_BREVIS : support::MSG_WARNING_STANDARD;
    HostSetString(g_warning.dialog, HostDialogItem(g_warning.dialog, kWarningProductLineItem),
                  tolvane::P_LABEL, Formatted(productLine));
    HostSetString(g_warning.dialog, HostDialogItem(g_warning.dialog, kWarningSourceChangeItem),
                  tolvane::P_LABEL, Formatted(support::MSG_WARNING_SOURCE_CHANGES));
    hostlink::SetDialogEventHandler(hostlink::kWarningDialogNumber, WarningEvent);
    HostModalDialog(hostlink::kWarningDialogNumber, g_warning.dialog);
    hostlink::SetDialogEventHandler(hostlink::kWarningDialogNumber, nullptr);
  }
  dontShowWarning = g_warning.working;
  const int32_t answer = g_warning.answer;
  g_warning = WarningState{};
  return answer;
}

}  // namespace osprevan::ui
