// One run of the import command, from choosing the PDF to the summary.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "apply/comment_report.h"
#include "apply/import_context.h"
#include "apply/import_notices.h"
#include "apply/unread_annotations.h"
#include "apply/unreadable_pages.h"
#include "pdf/opened_pdf.h"
#include "pdf/unread_annotation.h"
#include "session/import_request.h"
#include "support/status.h"

namespace osprevan::session {

// What the driver keeps over one import: what was asked, the open PDF, what placing keeps over
// all documents, and what the end of the run reports.
class ImportSession {
 public:
  explicit ImportSession(ImportRequest asked) : request(std::move(asked)) {}

  const ImportRequest request;
  apply::ImportContext placing;         // the counts, and the user's view given back at the end
  const pdf::OpenedPdf* pdf = nullptr;  // RunImport's open PDF while the import runs
  // The changed-source questions are asked: the PDF was made by a host before version 12 and a
  // person runs the import.
  bool asksQuestions = false;
  // The user was asked about a changed source for the current target and went on.
  bool sourceChanged = false;
  // What became of every comment read, over the whole import (a book's components added up).
  std::vector<apply::ReportEntry> report;
  // The pages the library could not read, over the whole import.
  apply::UnreadablePages unreadable;
  // Comments of kinds the import does not take, by subtype name, over the whole import.
  std::map<std::string, int32_t> unreadKinds;
  // Annotations that could not be read, with their pages and why, over the whole import.
  std::vector<pdf::UnreadAnnotation> unreadAnnotations;
  // What the import tells beyond the counts, in the order found.
  apply::ImportNotices notices;
};

// What the steps of one run leave for its end.
struct ImportRun {
  support::Status status = support::Status::Done();  // the first step that failed
  bool importRan = false;                            // the summary is due

  // `message` is the string-table message that tells the user why.
  void Fail(std::string reason, int message) {
    Fail(support::Status::Failed(std::move(reason)).Telling(message));
  }
  // Keeps `failed` when it is the first step that failed; an ok status changes nothing.
  void Fail(support::Status failed) {
    if (status.ok()) status = std::move(failed);
  }
};

// Done when every step succeeded; fails with the first step that failed or was cancelled.
support::Status RunImport(ImportSession& session);

}  // namespace osprevan::session
