#include "apply/comment_report.h"

#include "apply/imported_comments.h"
#include "apply/make_placement.h"
#include "apply/marker_text.h"
#include "apply/summary_file_name.h"
#include "hostlink/host_ops.h"
#include "support/json_text.h"

namespace osprevan::apply {
namespace {

using support::JsonQuoted;

// Counted the way the summary counts.
const char* Outcome(const Placement& placement, bool applied) {
  if (!applied) return "failed";
  if (CountsAsMisplaced(placement)) return "misplaced";
  return "successful";
}

ReportEntry FromComment(const pdf::PdfComment& comment) {
  ReportEntry entry;
  entry.page = comment.page() + 1;
  entry.subtype = comment.subtypeName();
  entry.author = comment.author();
  entry.date = comment.dateText();
  entry.contents = comment.contents();
  entry.markedText = comment.markedText();
  entry.replies = comment.replies().size();
  return entry;
}

// The comment a placement met, as the reader of the report finds it: kind, author, page and
// the text it marked.
std::string OtherComment(const pdf::PdfComment& other) {
  std::string text = PlacementKindName(KindOfComment(other));
  text += " by " + (other.author().empty() ? std::string("?") : other.author());
  text += " on page " + std::to_string(other.page() + 1);
  if (!other.markedText().empty()) text += " of \"" + other.markedText() + "\"";
  return text;
}

}  // namespace

ReportEntry ReportPlacement(const Placement& placement, bool applied) {
  ReportEntry entry = placement.comment ? FromComment(*placement.comment) : ReportEntry{};
  entry.placement = PlacementKindName(placement.kind);
  entry.outcome = Outcome(placement, applied);
  if (placement.flow)
    entry.flow = HostGetString(placement.document, placement.flow, tolvane::P_FLOW_NAME);
  if (placement.end.object) {
    entry.paragraph = HostGetInt(placement.document, placement.end.object, tolvane::P_PGF_UNIQUE);
    entry.beginParagraph =
        placement.begin.object == placement.end.object
            ? entry.paragraph
            : HostGetInt(placement.document, placement.begin.object, tolvane::P_PGF_UNIQUE);
    entry.begin = placement.begin.offset;
    entry.end = placement.end.offset;
  }
  if (!applied && placement.failure != PlacementReason::None) {
    entry.reason = ReasonName(placement.failure);
  } else if (entry.outcome != "successful") {
    entry.reason = ReasonName(placement.reason);
    if (placement.meets) entry.reason += ": " + OtherComment(*placement.meets);
    // The place the comment was not given is named, so that a reader can choose.
    if (placement.reason == PlacementReason::TwoPlaces && placement.comment)
      entry.reason += ", also " + placement.comment->otherPlace();
  }
  return entry;
}

ReportEntry ReportFilteredOut(const pdf::PdfComment& comment) {
  ReportEntry entry = FromComment(comment);
  entry.outcome = "filtered out";
  return entry;
}

ReportEntry ReportAlreadyImported(const pdf::PdfComment& comment, size_t repliesThen) {
  ReportEntry entry = FromComment(comment);
  entry.placement = PlacementKindName(KindOfComment(comment));
  entry.outcome = "alreadyImported";
  if (ThreadSize(comment) > repliesThen) entry.reason = "replies added since it was imported";
  return entry;
}

std::string ReportJson(const std::string& pdfPath, const std::vector<ReportEntry>& entries,
                       const ImportNotices& notices) {
  std::string out = "{\"pdf\": " + JsonQuoted(pdfPath) + ", \"comments\": [";
  for (size_t i = 0; i < entries.size(); ++i) {
    const ReportEntry& e = entries[i];
    out += i ? ",\n  " : "\n  ";
    out += "{\"page\": " + std::to_string(e.page) + ", \"subtype\": " + JsonQuoted(e.subtype) +
           ", \"author\": " + JsonQuoted(e.author) + ", \"date\": " + JsonQuoted(e.date) +
           ", \"contents\": " + JsonQuoted(e.contents) +
           ", \"markedText\": " + JsonQuoted(e.markedText) +
           ", \"replies\": " + std::to_string(e.replies) +
           ", \"placement\": " + JsonQuoted(e.placement) +
           ", \"outcome\": " + JsonQuoted(e.outcome) + ", \"flow\": " + JsonQuoted(e.flow) +
           ", \"paragraph\": " + std::to_string(e.paragraph) +
           ", \"begin\": " + std::to_string(e.begin) + ", \"end\": " + std::to_string(e.end) +
           ", \"reason\": " + JsonQuoted(e.reason) +
           ", \"beginParagraph\": " + std::to_string(e.beginParagraph) +
           ", \"document\": " + JsonQuoted(e.document) + "}";
  }
  out += "\n], \"warnings\": [";
  bool first = true;
  for (const ImportNotice& notice : notices) {
    if (notice.reported.empty()) continue;
    out += (first ? "" : ", ") + JsonQuoted(notice.reported);
    first = false;
  }
  return out + "]}\n";
}

std::string ReportFileName(const std::string& pdfPath) {
  std::string name = SummaryFileName(pdfPath);
  const std::string suffix = ".smry";
  if (name.size() >= suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    name.resize(name.size() - suffix.size());
  return name + ".report.json";
}

}  // namespace osprevan::apply
