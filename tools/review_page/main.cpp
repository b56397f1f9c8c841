// tolvane-review-page REPORT PDF DOCUMENT -o PAGE.html [--components FOLDER]: writes the review
// page of an import from its report, the reviewed PDF and the document (or book) as saved after
// the import. --lang ja|en chooses the page's language; LC_ALL, LC_MESSAGES or LANG starting
// with "ja" chooses Japanese when it is not given.
#include <cstdio>
#include <string>

#include "host/cli/ui_language.h"
#include "host/engine/engine.h"
#include "tools/review_page/review_page.h"
#include "tools/review_page/tool_texts.h"

namespace {

using osprevan::review::ToolSaid;
using osprevan::review::ToolText;

struct Arguments {
  std::string report, pdf, document, page, components;
  osprevan::review::PageLanguage language = osprevan::review::PageLanguage::English;
};

// The language first, from the settings and --lang, so that what is wrong with the rest is said
// in it; false when --lang names no language.
bool ChooseLanguage(int argc, char** argv, Arguments& out) {
  out.language = tlhost::LanguageFromEnvironment();
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) != "--lang") continue;
    const auto language = i + 1 < argc ? tlhost::LanguageFromOption(argv[i + 1]) : std::nullopt;
    if (!language) return false;
    out.language = *language;
  }
  return true;
}

bool Parse(int argc, char** argv, Arguments& out, std::string& error, bool& help) {
  std::string* positional[] = {&out.report, &out.pdf, &out.document};
  size_t given = 0;
  const auto say = [&out](ToolText key, const tlhost::TextValues& values = {}) {
    return ToolSaid(out.language, key, values);
  };
  if (!ChooseLanguage(argc, argv, out)) return error = say(ToolText::LangTakes), false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") return help = true, true;
    if (arg == "-o" || arg == "--components") {
      if (++i >= argc) return error = say(ToolText::NeedsPath, {{"option", arg}}), false;
      (arg == "-o" ? out.page : out.components) = argv[i];
    } else if (arg == "--lang") {
      ++i;  // read by ChooseLanguage
    } else if (!arg.empty() && arg[0] != '-' && given < 3) {
      *positional[given++] = arg;
    } else {
      return error = say(ToolText::UnexpectedArgument, {{"word", arg}}), false;
    }
  }
  if (given < 3) return error = say(ToolText::NeedsInputs), false;
  if (out.page.empty()) return error = say(ToolText::NeedsPage), false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments;
  std::string error;
  bool help = false;
  const bool parsed = Parse(argc, argv, arguments, error, help);
  const std::string usage = ToolSaid(arguments.language, ToolText::Usage);
  if (!parsed) {
    std::fprintf(stderr, "tolvane-review-page: %s\n%s", error.c_str(), usage.c_str());
    return 2;
  }
  if (help) {
    std::printf("%s\n%s", usage.c_str(), ToolSaid(arguments.language, ToolText::About).c_str());
    return 0;
  }
  tlhost::Engine engine;
  tolvane::ObjectId target = 0;
  std::vector<tlhost::PropValue> returned;
  if (engine.OpenFile(arguments.document, {}, target, returned) != 0) {
    std::fprintf(
        stderr, "tolvane-review-page: %s\n",
        ToolSaid(arguments.language, ToolText::CannotOpenDocument, {{"path", arguments.document}})
            .c_str());
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
