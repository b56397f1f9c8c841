// The command "tolvane export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]...".
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tlhost::pdfexport {

// `args` are the command's words after "export-pdf"; the creator and the page rotations
// ("N=DEGREES" or "A-B=DEGREES", pages from 1, a later one winning) come from the options.
// Exit status: 0 written, 1 the export failed or a rotation is malformed, 2 wrong usage
// (message on `err`).
int RunExportPdf(const std::vector<std::string>& args, const std::optional<std::string>& creator,
                 std::ostream& err, const std::vector<std::string>& rotations = {});

}  // namespace tlhost::pdfexport
