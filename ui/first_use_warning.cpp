#include "ui/first_use_warning.h"

#include "hostlink/answer.h"
#include "hostlink/dialog_events.h"
#include "hostlink/host_ops.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "ui/warning_dialog_items.h"

namespace osprevan::ui {
namespace {

constexpr size_t kFormattedCapacity = 1023;

// One run of the dialog: the check box as the user left it, and the answer.
struct WarningRun {
  tolvane::ObjectId dialog = 0;
  int32_t working = 0;
  int32_t answer = 0;

  void OnEvent(int32_t item) {
    switch (item) {
      case kWarningCheckBoxItem:
        working = working ? 0 : 1;
        break;
      case kWarningYesItem:
        answer = hostlink::kAnswerContinue;
        HostClose(dialog, tolvane::CLOSE_DISCARD);
        break;
      case kWarningNoItem:
        answer = hostlink::kAnswerStop;
        HostClose(dialog, tolvane::CLOSE_DISCARD);
        break;
      default:
        break;
    }
  }
};

std::string Formatted(int id) {
  std::string buffer(kFormattedCapacity + 1, '\0');
  const size_t n = support::FormatUiString(id, buffer.data(), buffer.size());
  buffer.resize(n);
  return buffer;
}

}  // namespace

int32_t ShowFirstUseWarning(int32_t& dontShowWarning) {
  WarningRun run;
  run.working = dontShowWarning;
  run.dialog = HostOpenDialogResource(tolvane::DIALOG_RESOURCE, "warningdialog");
  if (run.dialog) {
    (void)support::UiString(support::MSG_WARNING_PLACEHOLDER);
    const tolvane::ObjectId box = HostDialogItem(run.dialog, kWarningCheckBoxItem);
    HostSetInt(run.dialog, box, tolvane::P_ITEM_STATE, run.working ? 1 : 0);
    const std::string product = HostGetString(0, 0, tolvane::P_SESSION_PRODUCT_NAME);
    const int productLine =
        product == "Tolvane Brevis" ? support::MSG_WARNING_BREVIS : support::MSG_WARNING_STANDARD;
    HostSetString(run.dialog, HostDialogItem(run.dialog, kWarningProductLineItem), tolvane::P_LABEL,
                  Formatted(productLine));
    HostSetString(run.dialog, HostDialogItem(run.dialog, kWarningSourceChangeItem),
                  tolvane::P_LABEL, Formatted(support::MSG_WARNING_SOURCE_CHANGES));
    const hostlink::ScopedDialogEventHandler events(
        hostlink::kWarningDialogNumber, [&run](int32_t item, int32_t) { run.OnEvent(item); });
    HostModalDialog(hostlink::kWarningDialogNumber, run.dialog);
  }
  dontShowWarning = run.working;
  return run.answer;
}

}  // namespace osprevan::ui
