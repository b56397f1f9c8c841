// The files an import writes besides the document: checked before the import so that none can
// destroy one of its inputs or something that is not a file, and written after the save so
// that they say whether the document was saved.
#pragma once

#include <string>
#include <vector>

#include "host/cli/ui_language.h"

namespace tlhost {

// Why the command may not write `output`: "is the input PATH" (the same file by device and
// inode, whatever the spelling or links), "is a folder", "not a regular file" (a device, FIFO
// or socket); empty when it may (also when `output` does not exist yet).
std::string OutputProblem(UiLanguage language, const std::string& output,
                          const std::vector<std::string>& inputs);

// Whether two outputs of one command name one file: the same device and inode when both exist,
// otherwise the same path once links and ".." are resolved.
bool SameOutput(const std::string& one, const std::string& other);

// What became of one document the import changed.
struct SavedFile {
  std::string path;
  bool saved = false;
  std::string reason;  // why not, in the system's words; empty when saved
};

// The report as the plug-in wrote it, with the top-level fields "saved" and, when false,
// "reason" put first, and for a book "components": each document the import changed with
// whether it was saved. The report is a JSON object; a text that is not one is kept as it is.
std::string ReportWithSaveOutcome(const std::string& report, bool saved, const std::string& reason,
                                  const std::vector<SavedFile>& components);

// The summary with `line` first (that nothing was saved, and why), in the summary's own line
// ending.
std::string SummaryWithFirstLine(const std::string& summary, const std::string& line);

// `text` as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);

}  // namespace tlhost
