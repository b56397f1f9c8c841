#include "host/export/export_command.h"

#include "host/export/pdf_export.h"

namespace tlhost::pdfexport {

int RunExportPdf(const std::vector<std::string>& args, const std::optional<std::string>& creator,
                 std::ostream& err) {
  std::string file, out;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size() || !out.empty()) {
        err << "tolvane: export-pdf needs one -o OUT.pdf\n";
        return 2;
      }
      out = args[++i];
    } else if (file.empty()) {
      file = args[i];
    } else {
      err << "tolvane: export-pdf takes one FILE\n";
      return 2;
    }
  }
  if (file.empty() || out.empty()) {
    err << "tolvane: usage: tolvane export-pdf FILE -o OUT.pdf [--creator TEXT]\n";
    return 2;
  }
  ExportOptions options;
  options.creator = creator;
  std::string error;
  if (ExportFile(file, options, out, error) != 0) {
    err << "tolvane: " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tlhost::pdfexport
