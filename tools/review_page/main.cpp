// tolvane-review-page REPORT PDF DOCUMENT -o PAGE.html [--components FOLDER]: writes the review
// page of an import from its report, the reviewed PDF and the document (or book) as saved after
// the import. --lang ja|en chooses the page's language; LC_ALL, LC_MESSAGES or LANG starting
// with "ja" chooses Japanese when it is not given.
#include <cstdio>
#include <string>

#include "host/cli/ui_language.h"
#include "host/engine/engine.h"
#include "tools/review_page/review_page.h"

namespace {

constexpr const char* kUsage =
    "usage: tolvane-review-page REPORT.json REVIEW.pdf DOC -o PAGE.html [--components FOLDER]\n"
    "       [--lang ja|en]\n";

struct Arguments {
  std::string report, pdf, document, page, components;
  osprevan::review::PageLanguage language = osprevan::review::PageLanguage::English;
};

bool Parse(int argc, char** argv, Arguments& out, std::string& error, bool& help) {
  std::string* positional[] = {&out.report, &out.pdf, &out.document};
  size_t given = 0;
  out.language = tlhost::LanguageFromEnvironment();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return help = true, true;
    if (arg == "-o" || arg == "--components") {
      if (++i >= argc) return error = arg + " needs a path", false;
      (arg == "-o" ? out.page : out.components) = argv[i];
    } else if (arg == "--lang") {
      const auto language = ++i < argc ? tlhost::LanguageFromOption(argv[i]) : std::nullopt;
      if (!language) return error = "--lang takes ja or en", false;
      out.language = *language;
    } else if (!arg.empty() && arg[0] != '-' && given < 3) {
      *positional[given++] = arg;
    } else {
      return error = "unexpected argument: " + arg, false;
    }
  }
  if (given < 3) return error = "REPORT, PDF and DOC are needed", false;
  if (out.page.empty()) return error = "-o PAGE.html is needed", false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  std::string error;
  bool help = false;
  if (!Parse(argc, argv, arguments, error, help)) {
    std::fprintf(stderr, "tolvane-review-page: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  if (help) {
    std::printf(
        "%s\nWrites one HTML file that shows what became of each comment of an import: the part\n"
        "of the PDF page it was drawn on, outlined; what the reviewer wrote and the replies;\n"
        "the outcome and its reason; and DOC's text at its place, with the change shown.\n"
        "DOC is the document or book as saved after the import; --components names the folder\n"
        "a book's changed components were saved into (import -o FOLDER).\n",
        kUsage);
    return 0;
  }
  tlhost::Engine engine;
  tolvane::ObjectId target = 0;
  std::vector<tlhost::PropValue> returned;
  if (engine.OpenFile(arguments.document, {}, target, returned) != 0) {
    std::fprintf(stderr, "tolvane-review-page: cannot open %s\n", arguments.document.c_str());
    return 1;
  }
  if (!osprevan::review::WriteReviewPageOf(engine, target, arguments.report, arguments.pdf,
                                           arguments.components, arguments.page, arguments.language,
                                           error)) {
    std::fprintf(stderr, "tolvane-review-page: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s\n", arguments.page.c_str());
  return 0;
}
