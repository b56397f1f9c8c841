// The command "tolvane export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]...",
// with its messages in the user's language.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/cli/ui_language.h"

namespace tlhost {

// Writes FILE as a tagged PDF to `out`; the creator and the page rotations ("N=DEGREES" or
// "A-B=DEGREES", pages from 1, a later one winning) come from the options. `force` allows
// replacing an existing file that is not a PDF.
// Exit status: 0 written, 1 the export failed, was refused or a rotation is malformed (message
// on `err`, in `language`).
int RunExportPdf(UiLanguage language, const std::string& file, const std::string& out,
                 const std::optional<std::string>& creator,
                 const std::vector<std::string>& rotations, bool force, std::ostream& err);

}  // namespace tlhost
