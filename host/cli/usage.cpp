#include "host/cli/usage.h"

namespace tlhost {
namespace {

struct CommandHelp {
  const char* name;
  const char* synopsis;     // the words after "tolvane"
  const char* description;  // lines after the first start with "\n"
};

// Both the help and the usage lines come from here, so the two cannot disagree.
constexpr CommandHelp kCommands[] = {
    {"show", "show FILE",
     "print a document readably: paragraphs, tracked changes, conditions, markers"},
    {"menus", "menus", "load the plug-in and list the import menus with its command"},
    {"run", "run FILE [--dialogs SCRIPT]",
     "open FILE, make it active and run the import command from its menu;\n"
     "alerts and dialogs are answered by SCRIPT, else asked on the terminal.\n"
     "run never saves FILE: it shows what the import does and says, and\n"
     "the changes end with the program (import saves them)"},
    {"import",
     "import FILE PDF [-o OUT] [--dry-run] [--report PATH] [--review-page PAGE] [--repeat N] "
     "[--phases]",
     "run the same import as a call from another client (no dialogs), then\n"
     "save FILE in place, or to OUT with -o (for a book: its changed documents\n"
     "into the folder OUT). A FILE the user may not write is refused unless\n"
     "-o names another place. The plug-in's summary file beside PDF (its\n"
     "extension made .smry) is printed when the import wrote it, and the\n"
     "path of its per-comment report (beside PDF, or PATH with --report).\n"
     "--dry-run saves nothing and writes no file beside PDF: it prints the\n"
     "summary and writes the report only to --report PATH.\n"
     "--review-page PAGE writes an HTML page after the import that shows\n"
     "each comment: its part of the PDF page, what became of it and the\n"
     "document's text at its place.\n"
     "--repeat N imports N times in this process, each into a fresh copy of\n"
     "the document FILE, saves nothing, and prints per round its time and\n"
     "the blocks the task allocator and the PDF library still hold.\n"
     "--phases prints the seconds each phase took: the host's load, call and\n"
     "save, and within the call the plug-in's own phases"},
    {"export-pdf", "export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]...",
     "write a tagged PDF of a document or book; --rotate turns page N\n"
     "or pages A-B (from 1) by 0, 90, 180 or 270 degrees (repeatable)"},
};

constexpr size_t kDescriptionColumn = 23;

void AppendCommand(const CommandHelp& command, std::string& text) {
  std::string line = std::string("  ") + command.synopsis;
  // A synopsis too long for its column gets a line of its own.
  if (line.size() + 1 > kDescriptionColumn) {
    text += line + "\n";
    line.clear();
  }
  line.resize(kDescriptionColumn, ' ');
  for (const char* c = command.description; *c; ++c) {
    if (*c == '\n') {
      text += line + "\n";
      line.assign(kDescriptionColumn, ' ');
    } else {
      line += *c;
    }
  }
  text += line + "\n";
}

}  // namespace

std::string HelpText() {
  std::string text = "Usage: tolvane COMMAND [ARGUMENTS]\n\nCommands:\n";
  for (const CommandHelp& command : kCommands) AppendCommand(command, text);
  text +=
      "\n"
      "Options:\n"
      "  --client PATH        the plug-in library (default: ../lib/libosprevan.so beside this "
      "program)\n"
      "  --help               show this text\n"
      "\n"
      "Exit status: 0 on success, 1 when the command failed or was refused, 2 for wrong usage.\n"
      "  run and import answer 0 when the import ran (the plug-in reported placing comments into\n"
      "  a document) and 1 when it was cancelled, refused or failed before that; import then\n"
      "  gives the cause: \"no such file\", \"not tagged\", \"read-only document\", ... It also\n"
      "  answers 1 when the document cannot be saved, and then leaves the old file as it was.\n";
  return text;
}

std::string CommandUsage(const std::string& command) {
  for (const CommandHelp& known : kCommands) {
    if (command == known.name) return std::string("usage: tolvane ") + known.synopsis;
  }
  return "";
}

}  // namespace tlhost
