#include "ui/input_dialog.h"

#include <optional>

#include "hostlink/answer.h"
#include "hostlink/call_refusal.h"
#include "hostlink/command_state.h"
#include "hostlink/dialog_events.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/comment_kind.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_library.h"
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
  if (!pdf::ValidatePdfPath(*chosenPdfPath).ok()) {
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

// A PDF file that the library does not open is no PDF the import can read, unless it is one
// that needs a password: then the user and a caller are told so.
// Says why the PDF did not open; answers the failure with the message shown.
support::Status UnopenedPdf() {
  const bool needsPassword = pdf::LastPdfError() == pdf::kPdfErrorNeedsPassword;
  const int message = needsPassword ? support::MSG_PDF_NEEDS_PASSWORD : support::MSG_NOT_PDF;
  hostlink::ShowMessage(message, tolvane::ALERT_OK_ONLY);
  hostlink::AnswerRefusal(needsPassword ? hostlink::kRefusalNeedsPassword
                                        : hostlink::kRefusalNotPdf);
  return support::Status::Failed("the PDF does not open").Telling(message);
}

// Opens the PDF and fills the criteria's defaults; false when it does not open.
bool OpenWithDefaults(const std::u16string& path, OkDoc*& pdf, pdf::FilterCriteria& criteria) {
  pdf = pdf::OpenPdfByPath(path);
  if (!pdf) return false;
  pdf::PrepareFilterCriteria(path, criteria);
  return true;
}

}  // namespace

support::Status ChooseInputPdf(OkDoc*& pdf, std::u16string& path, pdf::FilterCriteria& criteria) {
  pdf = nullptr;
  path.clear();
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
  const std::optional<std::string> chosen = std::move(run.chosenPdfPath);
  if (run.answer == hostlink::kAnswerStop || !chosen)
    return support::Status::Failed("no PDF chosen");

  path = support::Utf8ToUtf16(*chosen).value_or(u"");
  if (!OpenWithDefaults(path, pdf, criteria)) {
    path.clear();
    return UnopenedPdf();
  }
  int32_t answer = hostlink::kAnswerContinue;
  switch (run.filterChoice) {
    case kChoiceAllComments:
      break;
    case kChoiceChangesOnly:
      criteria.kindMask = pdf::Insert | pdf::Delete | pdf::Replace;
      break;
    case kChoiceCustomFilter:
      criteria.dateFilterOn = true;
      pdf::ScanAuthors(pdf, criteria);
      answer = RunFilterDialog(criteria, run.filterOwnerWindow);
      break;
  }
  criteria.knownAuthors.clear();
  if (answer != hostlink::kAnswerStop) return support::Status::Done();
  pdf::ClosePdf(pdf);
  pdf = nullptr;
  path.clear();
  return support::Status::Failed("the filter was cancelled");
}

support::Status OpenCallerPdf(OkDoc*& pdf, std::u16string& path, pdf::FilterCriteria& criteria) {
  pdf = nullptr;
  path.clear();
  // The caller is told why as the menu's user is: a path that names no file to read, then a
  // PDF that does not open. A PDF without its "%PDF-" signature is still tried: the library
  // opens it.
  if (support::Status valid = pdf::ValidatePdfPath(hostlink::Command().callerPdfPath, false);
      !valid.ok())
    return valid;
  path = support::Utf8ToUtf16(hostlink::Command().callerPdfPath).value_or(u"");
  const bool opened = OpenWithDefaults(path, pdf, criteria);
  criteria.knownAuthors.clear();
  if (!opened) {
    path.clear();
    return UnopenedPdf();
  }
  return support::Status::Done();
}

}  // namespace osprevan::ui
