// Process-wide state of the import command: whether another client started it, with which
// PDF path and where its files go, and the first-use preference read at the start of every
// command.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace osprevan::hostlink {

struct CommandState {
  bool calledFromClient = false;
  std::string callerPdfPath;  // valid only while calledFromClient
  // Where the caller asked for the summary file and the report; unset: beside the PDF; an empty
  // path: none. Valid only while calledFromClient.
  std::optional<std::string> callerSummaryPath;
  std::optional<std::string> callerReportPath;
  // The caller asked for the time of each phase of the import on the console.
  bool callerWantsPhases = false;
  int32_t dontShowWarning = 0;
  // Set by "WriteReport=Yes" in the preferences: an interactive import writes its report too.
  int32_t writeReport = 0;
};

CommandState& Command();

}  // namespace osprevan::hostlink
