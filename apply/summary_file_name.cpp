#include "apply/summary_file_name.h"

#include "support/paths.h"

namespace osprevan::apply {

std::string SummaryFileName(const std::string& pdfPath) {
  // Only a dot in the file name starts an extension: "rev.2/review" stays in its folder as
  // "rev.2/review.smry" rather than becoming "rev.smry" beside it.
  std::string directory, name;
  support::SplitPath(pdfPath, directory, name);
  return pdfPath.substr(0, pdfPath.size() - name.size()) +
         support::ReplaceLastExtension(name, ".smry");
}

}  // namespace osprevan::apply
