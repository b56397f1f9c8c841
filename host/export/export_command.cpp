#include "host/export/export_command.h"

#include <cctype>
#include <map>

#include "host/engine/file_access.h"
#include "host/export/pdf_export.h"

namespace tlhost::pdfexport {
namespace {

// A page number or degrees: digits only, small enough that no page count reaches it.
bool ParseCount(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6) return false;
  value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// "N=DEGREES" or "A-B=DEGREES" into `rotation` by page index from 0.
bool ParseRotation(const std::string& text, std::map<int, int>& rotation, std::string& error) {
  const size_t equals = text.find('=');
  const std::string pages = text.substr(0, equals);
  const size_t dash = pages.find('-');
  const std::string from = pages.substr(0, dash);
  const std::string to = dash == std::string::npos ? from : pages.substr(dash + 1);
  int first = 0, last = 0, degrees = 0;
  if (equals == std::string::npos || !ParseCount(from, first) || !ParseCount(to, last) ||
      first < 1 || last < first) {
    error = "--rotate \"" + text + "\": give PAGES=DEGREES, PAGES a page N or pages A-B from 1";
    return false;
  }
  if (!ParseCount(text.substr(equals + 1), degrees) || degrees % 90 != 0 || degrees >= 360) {
    error = "--rotate \"" + text + "\": DEGREES must be 0, 90, 180 or 270";
    return false;
  }
  for (int page = first; page <= last; ++page) rotation[page - 1] = degrees;
  return true;
}

}  // namespace

int RunExportPdf(const std::string& file, const std::string& out,
                 const std::optional<std::string>& creator,
                 const std::vector<std::string>& rotations, bool force, std::ostream& err) {
  (void)force;
  // A PDF that cannot be written is said with the user's path, before anything is drawn.
  if (const std::string cause = WriteCause(out); !cause.empty()) {
    err << "tolvane: cannot write " << out << ": " << cause << "\n";
    return 1;
  }
  ExportOptions options;
  options.creator = creator;
  std::string error;
  for (const std::string& rotation : rotations) {
    if (!ParseRotation(rotation, options.pageRotation, error)) {
      err << "tolvane: " << error << "\n";
      return 1;
    }
  }
  if (ExportFile(file, options, out, error) != 0) {
    err << "tolvane: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tlhost::pdfexport
