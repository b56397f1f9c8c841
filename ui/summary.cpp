#include "ui/summary.h"

#include "apply/summary_file_name.h"
#include "hostlink/dialog_events.h"
#include "hostlink/host_ops.h"
#include "hostlink/last_call.h"
#include "support/file_channel.h"
#include "support/formatted.h"
#include "support/message_ids.h"
#include "support/paths.h"
#include "support/ui_strings.h"
#include "ui/summary_dialog_items.h"

namespace osprevan::ui {
namespace {

using namespace apply;  // the rows and columns of the counts

constexpr const char* kHostSummaryName = "Osprevan.smry";
constexpr size_t kPathCapacity = 1023;

// Kind names of the rows, in the row order of OutcomeCounters.
constexpr int kRowLabels[kOutcomeRows] = {
    support::MSG_KIND_INSERT, support::MSG_KIND_DELETE,    support::MSG_KIND_REPLACE,
    support::MSG_KIND_NOTE,   support::MSG_KIND_UNDERLINE, support::MSG_KIND_HIGHLIGHT,
};

void SetItemLabel(tolvane::ObjectId dialog, int32_t item, const std::string& label) {
  HostSetString(dialog, HostDialogItem(dialog, item), tolvane::P_LABEL, label);
}

bool AllClean(const OutcomeCounters& counters) {
  for (const auto& row : counters.counts) {
    if (row[kColumnMisplaced] > 0 || row[kColumnFailed] > 0) return false;
  }
  return true;
}

void FillDialog(tolvane::ObjectId dialog, const OutcomeCounters& counters,
                const ImportNotices& notices) {
  for (int row = 0; row < kOutcomeRows; ++row) {
    SetItemLabel(dialog, kSummaryRowLabelItems[row], support::UiString(kRowLabels[row]));
    for (int column = 0; column < kOutcomeColumns; ++column) {
      SetItemLabel(dialog, SummaryCountItem(row, column),
                   support::Format(" %d", counters.counts[row][column]));
    }
  }
  SetItemLabel(dialog, kSummaryHeadlineItem,
               support::UiString(AllClean(counters) ? support::MSG_ALL_IMPORTED
                                                    : support::MSG_SOME_MISPLACED));
  std::string lines = apply::ShownLines(notices);
  if (!lines.empty()) lines.pop_back();
  SetItemLabel(dialog, kSummaryNoticeItem, lines);
}

// Opens the file the caller named, else the one beside the caller's PDF, else the one in the
// host's user directory (where the preferences file lives too). False when none can be opened
// or the caller asked for none.
bool OpenSummaryFile(const SummaryTarget& target, support::FileChannel& file) {
  if (const auto& asked = target.askedPath) return !asked->empty() && file.Open(*asked, "w");
  const std::string& callerPath = target.callerPdfPath;
  if (!callerPath.empty() && file.Open(apply::SummaryFileName(callerPath), "w")) return true;
  const std::string directory = HostGetString(0, 0, tolvane::P_SESSION_USER_DIR);
  // No directory is no location: the file would land wherever the host happens to run.
  if (!hostlink::LastCallStatus("reading the user directory").ok() || directory.empty())
    return false;
  const std::string path = support::JoinPath(directory, kHostSummaryName);
  // A path cut to the capacity would name some other file, so a longer one is not used.
  if (path.size() > kPathCapacity) return false;
  return file.Open(path, "w");
}

}  // namespace

support::Status WriteSummaryFile(const SummaryTarget& target, const OutcomeCounters& counters,
                                 const ImportNotices& notices) {
  support::FileChannel file;
  if (!OpenSummaryFile(target, file))
    return support::Status::Failed("the summary file cannot be opened")
        .Telling(support::MSG_SUMMARY_NOT_WRITTEN);
  // The header message ends in its own line feed; the widths below count bytes, so a label of
  // two Japanese characters gets five spaces before it.
  bool written = file.Write(support::UiString(support::MSG_SUMMARY_HEADER));
  for (int row = 0; row < kOutcomeRows; ++row) {
    const int32_t* counts = counters.counts[row];
    written = file.Write(support::Format(
                  "%11s%9d%12d%10d\n", support::UiString(kRowLabels[row]).c_str(),
                  counts[kColumnSuccessful], counts[kColumnMisplaced], counts[kColumnFailed])) &&
              written;
  }
  written = file.Write(apply::ShownLines(notices)) && written;
  if (!file.Close() || !written)
    return support::Status::Failed("the summary file is incomplete")
        .Telling(support::MSG_SUMMARY_NOT_WRITTEN);
  return support::Status::Done();
}

support::Status ShowSummary(const SummaryTarget& target, const OutcomeCounters& counters,
                            const ImportNotices& notices) {
  // Another client's import shows no dialog, so none is opened that nobody would close.
  if (target.asFile) {
    const auto& asked = target.askedPath;
    if (asked && asked->empty()) return support::Status::Done();  // the caller asked for none
    return WriteSummaryFile(target, counters, notices);
  }
  tolvane::ObjectId dialog = HostOpenDialogResource(tolvane::DIALOG_RESOURCE, "smry");
  if (dialog == 0)
    return support::Status::Failed("the summary dialog does not open")
        .Telling(support::MSG_SUMMARY_NOT_SHOWN);
  FillDialog(dialog, counters, notices);
  // OK, a confirmation or the close box close it, once: id 0 would address the host itself.
  const hostlink::ScopedDialogEventHandler events(
      hostlink::kSummaryDialogNumber, [&dialog](int32_t item, int32_t) {
        if (item != kSummaryOkItem && item != tolvane::DIALOG_ITEM_CONFIRM &&
            item != tolvane::DIALOG_ITEM_CLOSED) {
          return;
        }
        if (dialog == 0) return;
        HostClose(dialog, tolvane::CLOSE_DISCARD);
        dialog = 0;
      });
  HostModalDialog(hostlink::kSummaryDialogNumber, dialog);
  return support::Status::Done();
}

}  // namespace osprevan::ui
