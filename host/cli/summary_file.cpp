#include "host/cli/summary_file.h"

#include <fstream>
#include <utility>

namespace tlhost {

std::string SummaryFileName(const std::string& pdfPath) {
  const size_t slash = pdfPath.find_last_of("/\\");
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = pdfPath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return pdfPath + ".smry";
  return pdfPath.substr(0, dot) + ".smry";
}

std::string ReportFileName(const std::string& pdfPath) {
  std::string name = SummaryFileName(pdfPath);
  name.resize(name.size() - std::string(".smry").size());
  return name + ".report.json";
}

FileWatch::FileWatch(std::string path) : path_(std::move(path)), before_(Take(path_)) {}

FileWatch::Stamp FileWatch::Take(const std::string& path) {
  Stamp stamp;
  stamp.exists = stat(path.c_str(), &stamp.status) == 0;
  return stamp;
}

bool FileWatch::Written() const {
  const Stamp after = Take(path_);
  if (!after.exists) return false;
  if (!before_.exists) return true;
  // Any write moves the change time to now, and a program cannot set it back as it can the
  // modification time; a file replaced by another has a new inode.
  const struct stat& a = before_.status;
  const struct stat& b = after.status;
  return a.st_ino != b.st_ino || a.st_dev != b.st_dev || a.st_size != b.st_size ||
         a.st_ctim.tv_sec != b.st_ctim.tv_sec || a.st_ctim.tv_nsec != b.st_ctim.tv_nsec ||
         a.st_mtim.tv_sec != b.st_mtim.tv_sec || a.st_mtim.tv_nsec != b.st_mtim.tv_nsec;
}

void FileWatch::PrintLinesIfWritten(std::ostream& out, const char* label) const {
  if (!Written()) return;
  std::ifstream file(path_, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out << label << line << "\n";
  }
}

}  // namespace tlhost
