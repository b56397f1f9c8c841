// Process-wide state of the import command: whether another client started it, with which
// PDF path, and the first-use preference read at the start of every command.
#pragma once

#include <cstdint>
#include <string>

namespace osprevan::hostlink {

struct CommandState {
  int32_t calledFromClient = 0;
  std::string callerPdfPath;  // valid only while calledFromClient is 1
  int32_t dontShowWarning = 0;
  // Set by "WriteReport=Yes" in the preferences: an interactive import writes its report too.
  int32_t writeReport = 0;
  // Set by the creator check: the PDF was made by a host version before 12.
  int32_t madeBeforeVersion12 = 0;
};

CommandState& Command();

}  // namespace osprevan::hostlink
