// The command "tolvane export-pdf FILE -o OUT.pdf [--creator TEXT]".
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tlhost::pdfexport {

// `args` are the command's words after "export-pdf"; the creator comes from the option.
// Exit status: 0 written, 1 the export failed, 2 wrong usage (message on `err`).
int RunExportPdf(const std::vector<std::string>& args, const std::optional<std::string>& creator,
                 std::ostream& err);

}  // namespace tlhost::pdfexport
