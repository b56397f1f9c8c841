#include "host/cli/usage.h"

#include "host/cli/cli_texts.h"

namespace tlhost {
namespace {

struct CommandHelp {
  const char* name;
  const char* synopsis;  // the words after "tolvane"
  CliText about;         // what it does; lines after the first start with "\n"
};

// Both the help and the usage lines come from here, so the two cannot disagree.
constexpr CommandHelp kCommands[] = {
    {"show", "show FILE", CliText::AboutShow},
    {"menus", "menus", CliText::AboutMenus},
    {"run", "run FILE [--dialogs SCRIPT] [--wait SECONDS]", CliText::AboutRun},
    {"import",
     "import FILE PDF [-o OUT] [--dry-run] [--report PATH] [--review-page PAGE] [--repeat N] "
     "[--phases] [--wait SECONDS]",
     CliText::AboutImport},
    {"export-pdf",
     "export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]... [--force]",
     CliText::AboutExportPdf},
    {"help", "help [COMMAND]", CliText::AboutHelp},
};

constexpr size_t kDescriptionColumn = 23;

// The synopsis, then what the command does from the description column on.
void AppendCommand(const std::string& synopsis, const std::string& about, std::string& text) {
  std::string line = "  " + synopsis;
  // A synopsis too long for its column gets a line of its own.
  if (line.size() + 1 > kDescriptionColumn) {
    text += line + "\n";
    line.clear();
  }
  line.resize(kDescriptionColumn, ' ');
  for (const char c : about) {
    if (c == '\n') {
      text += line + "\n";
      line.assign(kDescriptionColumn, ' ');
    } else {
      line += c;
    }
  }
  text += line + "\n";
}

const CommandHelp* Find(const std::string& command) {
  for (const CommandHelp& known : kCommands) {
    if (command == known.name) return &known;
  }
  return nullptr;
}

}  // namespace

std::string HelpText(UiLanguage language) {
  std::string text = Said(language, CliText::HelpHeading);
  for (const CommandHelp& command : kCommands)
    AppendCommand(command.synopsis, Said(language, command.about), text);
  return text + Said(language, CliText::HelpOptions) + Said(language, CliText::HelpExitStatus);
}

std::string CommandHelpText(UiLanguage language, const std::string& command) {
  const CommandHelp* known = Find(command);
  if (!known) return "";
  std::string text = CommandUsage(language, command) + "\n\n";
  AppendCommand("", Said(language, known->about), text);
  return text;
}

std::string VersionText(UiLanguage language) {
  return Said(language, CliText::VersionLine, {{"host", "17.0"}, {"version", OSPREVAN_VERSION}}) +
         "\n";
}

std::string CommandUsage(UiLanguage language, const std::string& command) {
  const CommandHelp* known = Find(command);
  return known ? Said(language, CliText::UsageLine, {{"synopsis", known->synopsis}}) : "";
}

}  // namespace tlhost
