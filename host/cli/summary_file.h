// The summary file and the report the plug-in writes beside the PDF when another client starts
// the import: where they lie, and whether this run wrote them, so that a stale one is never
// printed.
#pragma once

#include <sys/stat.h>

#include <ostream>
#include <string>

namespace tlhost {

// The PDF's path with the file name's extension replaced by ".smry", or ".smry" appended when
// the file name has none. Both "/" and "\" end a folder, as for the plug-in, which names the
// file; a dot in a folder's name is no extension.
std::string SummaryFileName(const std::string& pdfPath);
// The per-comment report beside it: "NAME.report.json" for "NAME.smry".
std::string ReportFileName(const std::string& pdfPath);

// Notes a file's state when made; Written() tells whether the file was written since.
class FileWatch {
 public:
  explicit FileWatch(std::string path);

  const std::string& path() const { return path_; }
  bool Written() const;
  // Prints each line of the file after `label` when Written(); nothing otherwise.
  void PrintLinesIfWritten(std::ostream& out, const char* label) const;

 private:
  struct Stamp {
    bool exists = false;
    struct stat status {};
  };
  static Stamp Take(const std::string& path);

  std::string path_;
  Stamp before_;
};

}  // namespace tlhost
