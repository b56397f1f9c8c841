#include "session/first_use_warning.h"

#include "client/command_state.h"
#include "client/dialog_events.h"
#include "client/host_ops.h"
#include "ui/dialog_outcome.h"
#include "ui/message_ids.h"
#include "ui/ui_strings.h"

namespace osprevan::session {
namespace {

constexpr int32_t kCheckBoxItem = 2;
constexpr int32_t kYesItem = 3;
constexpr int32_t kNoItem = 4;
constexpr int32_t kProductLineItem = 10;
constexpr int32_t kSourceChangeItem = 20;
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
    case kCheckBoxItem:
      g_warning.working = g_warning.working ? 0 : 1;
      break;
    case kYesItem:
      g_warning.answer = 2;
      ui::DialogOutcome() = ui::kOutcomeContinue;
      if (g_warning.target) *g_warning.target = g_warning.working;
      HostClose(g_warning.dialog, tolvane::CLOSE_DISCARD);
      break;
    case kNoItem:
      g_warning.answer = 1;
      ui::DialogOutcome() = ui::kOutcomeCancel;
      HostClose(g_warning.dialog, tolvane::CLOSE_DISCARD);
      break;
    default:
      break;
  }
}

std::string Formatted(int id) {
  std::string buffer(kFormattedCapacity + 1, '\0');
  const size_t n = ui::FormatUiString(id, buffer.data(), buffer.size());
  buffer.resize(n);
  return buffer;
}

}  // namespace

int32_t ShowFirstUseWarning(int32_t& dontShowWarning) {
  if (client::Command().calledFromClient == 1) return 2;
  g_warning = WarningState{};
  g_warning.working = dontShowWarning;
  g_warning.target = &dontShowWarning;
  g_warning.dialog = HostOpenDialogResource(tolvane::DIALOG_RESOURCE, "warningdialog");
  if (g_warning.dialog) {
    (void)ui::UiString(ui::MSG_WARNING_PLACEHOLDER);
    const tolvane::ObjectId box = HostDialogItem(g_warning.dialog, kCheckBoxItem);
    HostSetInt(g_warning.dialog, box, tolvane::P_ITEM_STATE, g_warning.working ? 1 : 0);
    const std::string product = HostGetString(0, 0, tolvane::P_SESSION_PRODUCT_NAME);
    const int productLine =
        product == "Tolvane Brevis" ? ui::MSG_WARNING_BREVIS : ui::MSG_WARNING_STANDARD;
    HostSetString(g_warning.dialog, HostDialogItem(g_warning.dialog, kProductLineItem),
                  tolvane::P_LABEL, Formatted(productLine));
    HostSetString(g_warning.dialog, HostDialogItem(g_warning.dialog, kSourceChangeItem),
                  tolvane::P_LABEL, Formatted(ui::MSG_WARNING_SOURCE_CHANGES));
    client::SetDialogEventHandler(client::kWarningDialogNumber, WarningEvent);
    HostModalDialog(client::kWarningDialogNumber, g_warning.dialog);
    client::SetDialogEventHandler(client::kWarningDialogNumber, nullptr);
  }
  dontShowWarning = g_warning.working;
  const int32_t answer = g_warning.answer;
  g_warning = WarningState{};
  return answer;
}

}  // namespace osprevan::session
