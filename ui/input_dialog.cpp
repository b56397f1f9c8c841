#include "ui/input_dialog.h"

#include <optional>

#include "hostlink/answer.h"
#include "hostlink/dialog_events.h"
#include "hostlink/host_ops.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_checks.h"
#include "platform/win/window.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"
#include "ui/default_pdf_path.h"
#include "ui/filter_dialog.h"
#include "ui/input_dialog_items.h"

namespace osprevan::ui {
namespace {

using tolvane::ObjectId;

constexpr int32_t kChoiceCount = 3;

// One run of the dialog: what the user chose, until the dialog closes.
class InputDialogRun {
 public:
  void OnEvent(int32_t item);
  ObjectId Item(int32_t item) const { return HostDialogItem(dialog, item); }

  ObjectId dialog = 0;
  std::optional<std::string> chosenPdfPath;
  std::optional<std::string> defaultPdfDirectory;
  std::optional<std::string> defaultPdfName;
  FilterChoice filterChoice = kChoiceAllComments;
  win::HWND filterOwnerWindow = nullptr;
  // Until the user confirms, the dialog counts as cancelled: a host that cannot run it ends the
  // import rather than going on with no path.
  int32_t answer = hostlink::kAnswerStop;

 private:
  void Browse();
  void Confirm();
  void Cancel();
};

void KeepOpen() {
  HostReturnValue(tolvane::DIALOG_KEEP_OPEN);
}

void InputDialogRun::Browse() {
  std::string chosen;
  const int32_t result = HostChooseFile(
      chosen, support::UiString(support::MSG_CHOOSER_TITLE), defaultPdfDirectory.value_or(""),
      defaultPdfName.value_or(""), 0, "", support::UiString(support::MSG_PDF_FILTER));
  if (result == 0) {
    chosenPdfPath = chosen;
    HostSetString(dialog, Item(kInputPathItem), tolvane::P_ITEM_TEXT, chosen);
  } else {
    chosenPdfPath.reset();
  }
  KeepOpen();
}

void InputDialogRun::Confirm() {
  chosenPdfPath =
      ResolveNetworkPath(HostGetString(dialog, Item(kInputPathItem), tolvane::P_ITEM_TEXT));
  if (!pdf::ValidatePdfPath(hostlink::Caller{}, *chosenPdfPath).ok()) {
    KeepOpen();
    return;
  }
  int32_t choice = -1;
  for (int32_t i = 0; i < kChoiceCount && choice < 0; ++i) {
    if (HostGetInt(dialog, Item(kInputFirstChoiceItem + i), tolvane::P_ITEM_STATE) == 1) choice = i;
  }
  if (choice < 0) {
    KeepOpen();
    return;
  }
  filterChoice = static_cast<FilterChoice>(choice);
  if (filterChoice == kChoiceCustomFilter)
    filterOwnerWindow = win::GetWindow(win::GetForegroundWindow(), win::GW_OWNER);
  answer = hostlink::kAnswerContinue;
  HostClose(dialog, 0);
  dialog = 0;
}

void InputDialogRun::Cancel() {
  answer = hostlink::kAnswerStop;
  HostClose(dialog, tolvane::CLOSE_DISCARD);
  dialog = 0;
}

void InputDialogRun::OnEvent(int32_t item) {
  switch (item) {
    case kInputBrowseItem:
      Browse();
      break;
    case kInputContinueItem:
    case tolvane::DIALOG_ITEM_CONFIRM:
      Confirm();
      break;
    case kInputCancelItem:
    case tolvane::DIALOG_ITEM_CLOSED:
      Cancel();
      break;
    default:
      break;
  }
}

}  // namespace

support::Status ChooseInputPdf(InputChoice& choice) {
  choice = {};
  InputDialogRun run;
  run.dialog = HostOpenDialogResource(tolvane::DIALOG_RESOURCE, "inputfile");
  if (run.dialog) {
    HostSetInt(run.dialog, run.Item(kInputFirstChoiceItem), tolvane::P_ITEM_STATE, 1);
    HostSetInt(run.dialog, run.Item(kInputFirstChoiceItem + 1), tolvane::P_ITEM_STATE, 0);
    HostSetInt(run.dialog, run.Item(kInputFirstChoiceItem + 2), tolvane::P_ITEM_STATE, 0);
    const ProposedPdf proposal = DefaultPdfPath();
    if (!proposal.directory.empty()) run.defaultPdfDirectory = proposal.directory;
    if (!proposal.name.empty()) run.defaultPdfName = proposal.name;
    HostSetString(run.dialog, run.Item(kInputPathItem), tolvane::P_ITEM_TEXT, proposal.path);
    const hostlink::ScopedDialogEventHandler events(
        hostlink::kInputDialogNumber, [&run](int32_t item, int32_t) { run.OnEvent(item); });
    HostModalDialog(hostlink::kInputDialogNumber, run.dialog);
  }
  if (run.answer == hostlink::kAnswerStop || !run.chosenPdfPath)
    return support::Status::Refused("no PDF chosen");
  choice.path = support::Utf8ToUtf16(*run.chosenPdfPath).value_or(u"");
  choice.filter = run.filterChoice;
  choice.filterOwnerWindow = run.filterOwnerWindow;
  return support::Status::Done();
}

support::Status NarrowCriteria(const InputChoice& choice, const pdf::OpenedPdf& pdf,
                               pdf::FilterCriteria& criteria) {
  int32_t answer = hostlink::kAnswerContinue;
  switch (choice.filter) {
    case kChoiceAllComments:
      break;
    case kChoiceChangesOnly:
      criteria.kindMask = pdf::Insert | pdf::Delete | pdf::Replace;
      break;
    case kChoiceCustomFilter:
      criteria.dateFilterOn = true;
      pdf::ScanAuthors(pdf, criteria);
      answer = RunFilterDialog(criteria, choice.filterOwnerWindow);
      break;
  }
  criteria.knownAuthors.clear();
  if (answer == hostlink::kAnswerStop) return support::Status::Refused("the filter was cancelled");
  return support::Status::Done();
}

}  // namespace osprevan::ui
