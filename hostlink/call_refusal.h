// Why the import command did not run, as it answers another client that started it (the call's
// return value, HostReturnValue). The numbers are the plug-in's side of the call; README.md lists
// them for callers. 0 is no refusal: the import ran, or it stopped without a reason to give.
#pragma once

#include <cstdint>
#include <string>

#include "hostlink/caller.h"
#include "support/status.h"
#include "tolvane/numbers.h"

namespace osprevan::hostlink {

enum CallRefusal : int32_t {
  kRefusalNone = 0,
  kRefusalNoSuchFile = 1,       // the PDF path names nothing
  kRefusalFolder = 2,           // the PDF path names a folder
  kRefusalEmptyFile = 3,        // the PDF file is empty
  kRefusalUnreadable = 4,       // the PDF file may not be read
  kRefusalNotPdf = 5,           // not a PDF, or a PDF that does not open
  kRefusalNotTagged = 6,        // no structure tree
  kRefusalOtherCreator = 7,     // not made by the host at version 9 or later
  kRefusalBrokenStructure = 8,  // neither a document's nor a book's structure
  kRefusalReadOnly = 9,         // the document may not be written
  kRefusalNoDocument = 10,      // no active document or book
  kRefusalMap = 11,             // the active document is a map
  kRefusalNeedsPassword = 12,   // an encrypted PDF that opens only with a password
};

// Answers the caller with `why` when another client started the import; nothing otherwise.
void AnswerRefusal(const Caller& caller, CallRefusal why);

// The whole of a refusal: the message where the caller reads it (hostlink::ShowMessage), the
// caller's answer, and a refused Status with `reason` for the run.
support::Status Refuse(const Caller& caller, int messageId, CallRefusal why, std::string reason,
                       int32_t alertKind = tolvane::ALERT_MESSAGE);
// The same, with the message always an alert, also for a call from another client: a refusal
// the person at the host has to see (a document that may not be written).
support::Status RefuseWithAlert(const Caller& caller, int messageId, CallRefusal why,
                                std::string reason);

}  // namespace osprevan::hostlink
