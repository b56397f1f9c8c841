// The per-comment report: for every comment read, what it was and what became of it (placed,
// misplaced and why, failed and why, or filtered out). Written as JSON beside the summary
// file; the format is described in docs/report.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apply/import_notices.h"
#include "apply/placement.h"
#include "pdf/pdf_comment.h"

namespace osprevan::apply {

struct ReportEntry {
  int32_t page = 0;  // from 1
  std::string subtype;
  std::string author;
  std::string date;
  std::string contents;
  std::string markedText;
  size_t replies = 0;
  std::string placement;  // the placement kind; empty for a comment filtered out
  std::string outcome;    // "successful", "misplaced", "failed", "alreadyImported", "filtered out"
  std::string flow;
  int32_t paragraph = 0;  // the unique number of the paragraph it went to; 0 for none
  int32_t begin = -1;     // in `beginParagraph`
  int32_t end = -1;       // in `paragraph`
  std::string reason;     // for misplaced and failed ones
  // Where the range begins: `paragraph` but for a range over several paragraphs.
  int32_t beginParagraph = 0;
  // The file name (no folder) of the document it was read for: a book's component.
  std::string document;
};

// What became of a placement, and whether it was applied.
ReportEntry ReportPlacement(const Placement& placement, bool applied);

// A comment the review-state filter took out.
ReportEntry ReportFilteredOut(const pdf::PdfComment& comment);

// A comment an earlier import placed already, which had `repliesThen` replies at that time; the
// reason says when it has more now, which are not imported either.
ReportEntry ReportAlreadyImported(const pdf::PdfComment& comment, size_t repliesThen);

// The report as JSON text, one comment a line, then the notices' reported lines as warnings.
std::string ReportJson(const std::string& pdfPath, const std::vector<ReportEntry>& entries,
                       const ImportNotices& notices = {});

// The report's file for a PDF: beside the summary file, "NAME.report.json".
std::string ReportFileName(const std::string& pdfPath);

}  // namespace osprevan::apply
