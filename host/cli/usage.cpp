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
    {"run", "run FILE [--dialogs SCRIPT] [--wait SECONDS]",
     "open FILE, make it active and run the import command from its menu;\n"
     "alerts and dialogs are answered by SCRIPT, else asked on the terminal\n"
     "(without either, run refuses at once). FILE is locked as by import.\n"
     "run never saves FILE: it shows what the import does and says, and\n"
     "the changes end with the program (import saves them)"},
    {"import",
     "import FILE PDF [-o OUT] [--dry-run] [--report PATH] [--review-page PAGE] [--repeat N] "
     "[--phases] [--wait SECONDS]",
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
     "save, and within the call the plug-in's own phases.\n"
     "One import at a time writes a document: FILE (and each document of a\n"
     "book) is locked from before it is read until it is saved. Another\n"
     "import of it waits, saying for which process, at most --wait SECONDS\n"
     "(default 30; 0 refuses at once), then refuses with exit status 1.\n"
     "A document another program saved meanwhile is not overwritten.\n"
     "No output replaces one of the command's inputs, nor anything that is\n"
     "not a regular file. A document reached through a symbolic link is\n"
     "saved into the file the link names; the link stays"},
    {"export-pdf",
     "export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]... [--force]",
     "write a tagged PDF of a document or book; --rotate turns page N\n"
     "or pages A-B (from 1) by 0, 90, 180 or 270 degrees (repeatable).\n"
     "An existing OUT.pdf that is not a PDF is replaced only with --force;\n"
     "FILE itself, and anything not a regular file, never"},
    {"help", "help [COMMAND]", "show this text, or the usage of COMMAND"},
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
      "  --lang ja|en         the language of the plug-in's messages and of import's last line\n"
      "                       (default: Japanese when LC_ALL, LC_MESSAGES or LANG starts with\n"
      "                       \"ja\", English otherwise)\n"
      "  --help               show this text; after a command, that command's usage\n"
      "  --version            show the program's version\n"
      "\n"
      "Exit status:\n"
      "  0  success: for import, the document was saved and every report and summary written\n"
      "  1  the command failed or was refused, and nothing was saved: run and import answer 1\n"
      "     when the import was cancelled, refused or failed (with its cause: \"no such file\",\n"
      "     \"not tagged\", \"needs a password\", ...), when the document is locked by another\n"
      "     import past --wait, changed on disk while importing, or cannot be saved (\"no space\n"
      "     left on device\", ...); the old file is then left as it was\n"
      "  2  wrong usage\n"
      "  3  import: imported and saved, but the report or the summary file was not written\n";
  return text;
}

std::string CommandHelpText(const std::string& command) {
  for (const CommandHelp& known : kCommands) {
    if (command != known.name) continue;
    std::string text = std::string("usage: tolvane ") + known.synopsis + "\n\n";
    AppendCommand(CommandHelp{known.name, "", known.description}, text);
    return text;
  }
  return "";
}

std::string VersionText() {
  return std::string("tolvane 17.0 (stand-in host), plug-in Osprevan ") + OSPREVAN_VERSION + "\n";
}

std::string CommandUsage(const std::string& command) {
  for (const CommandHelp& known : kCommands) {
    if (command == known.name) return std::string("usage: tolvane ") + known.synopsis;
  }
  return "";
}

}  // namespace tlhost
