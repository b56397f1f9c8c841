// The summary file the plug-in writes beside the PDF when another client starts the import:
// where it lies, and whether this run wrote it, so that a stale one is never printed.
#pragma once

#include <sys/stat.h>

#include <ostream>
#include <string>

namespace tlhost {

// The PDF's path with the file name's extension replaced by ".smry", or ".smry" appended when
// the file name has none. Both "/" and "\" end a folder, as for the plug-in, which names the
// file; a dot in a folder's name is no extension.
std::string SummaryFileName(const std::string& pdfPath);

// Notes the summary file's state when made; Written() tells whether the file was written since.
class SummaryWatch {
 public:
  explicit SummaryWatch(const std::string& pdfPath);

  const std::string& path() const { return path_; }
  bool Written() const;
  // Prints each line of the file as "[summary] LINE" when Written(); nothing otherwise.
  void PrintIfWritten(std::ostream& out) const;

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
