#include "host/cli/command_line.h"

#include <CLI/CLI.hpp>

#include "host/cli/error_text.h"

namespace tlhost {
namespace {

// "--rotate: 1 required PAGES=DEGREES missing" names the option before its colon.
std::string OptionNamedIn(const std::string& message) {
  return message.substr(0, message.find(':'));
}

// The command whose own option `name` is, other than `except`; empty when none has it.
std::string OwnerOf(const CLI::App& app, const std::string& name, const CLI::App* except) {
  for (const CLI::App* command : app.get_subcommands({})) {
    if (command != except && command->get_option_no_throw(name) != nullptr)
      return command->get_name();
  }
  return "";
}

// The words "NAME needs WHAT" for an option given without its value; WHAT is the option's type
// name, set where the option is declared.
std::string NeedsValue(UiLanguage language, const CLI::App& app, const std::string& name) {
  for (const CLI::App* scope : app.get_subcommands({})) {
    if (const CLI::Option* option = scope->get_option_no_throw(name))
      return NeedsText(language, name, option->get_type_name());
  }
  if (const CLI::Option* option = app.get_option_no_throw(name))
    return NeedsText(language, name, option->get_type_name());
  return NeedsText(language, name, "a value");
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv, UiLanguage language) {
  CommandLine line;
  std::vector<std::string> outs;
  CLI::App app{"tolvane"};
  app.set_help_flag();  // the help texts are the program's own (usage.cpp)
  app.allow_extras();
  app.add_flag("--help,-h", line.help);
  app.add_flag("--version", line.version);
  app.add_option("--client", line.client)->type_name("a path");
  app.add_option("--lang", line.lang)->type_name("ja or en");

  // Each command's options. Adding one is a line here and a field in CommandLine.
  auto command = [&](const char* name) {
    CLI::App* sub = app.add_subcommand(name);
    sub->set_help_flag();
    sub->add_flag("--help,-h", line.help);
    sub->add_option("words", line.words);
    sub->allow_extras();
    sub->fallthrough();
    return sub;
  };
  command("show");
  command("menus");
  CLI::App* run = command("run");
  run->add_option("--dialogs", line.dialogScript)->type_name("a script");
  run->add_option("--wait", line.wait)->type_name("SECONDS");
  CLI::App* import = command("import");
  import->add_option("-o", outs)->type_name("OUT")->allow_extra_args(false);
  import->add_flag("--dry-run", line.dryRun);
  import->add_option("--report", line.report)->type_name("a path");
  import->add_option("--review-page", line.reviewPage)->type_name("a path");
  import->add_option("--repeat", line.repeat)->type_name("a number of rounds");
  import->add_flag("--phases", line.phases);
  import->add_option("--wait", line.wait)->type_name("SECONDS");
  CLI::App* exportPdf = command("export-pdf");
  exportPdf->add_option("-o", outs)->type_name("OUT.pdf")->allow_extra_args(false);
  exportPdf->add_option("--creator", line.creator)->type_name("a text");
  exportPdf->add_option("--rotate", line.rotations)
      ->type_name("PAGES=DEGREES")
      ->allow_extra_args(false);
  exportPdf->add_flag("--force", line.force);
  CLI::App* help = command("help");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    line.problem = NeedsValue(language, app, OptionNamedIn(error.what()));
  }
  const CLI::App* given = nullptr;
  for (const CLI::App* sub : app.get_subcommands()) given = sub;
  // "help CMD": CMD may be read as a command of its own, or as help's word.
  if (help->parsed()) {
    line.help = true;
    if (given != help) line.command = given->get_name();
    if (!line.words.empty()) line.command = line.words.front();
    line.words.clear();
    return line;
  }
  if (given) line.command = given->get_name();
  if (outs.size() > 1 && line.problem.empty()) {
    line.problem =
        TakesOneText(language, line.command, given == exportPdf ? "-o OUT.pdf" : "-o OUT");
  }
  if (outs.size() == 1) {
    if (outs.front().empty() && line.problem.empty())
      line.problem = NeedsValue(language, app, "-o");
    line.out = outs.front();
  }
  if (line.report && line.report->empty() && line.problem.empty())
    line.problem = NeedsText(language, "--report", "a path");
  if (line.reviewPage && line.reviewPage->empty() && line.problem.empty())
    line.problem = NeedsText(language, "--review-page", "a path");
  for (const std::string& extra : app.remaining(true)) {
    if (!line.problem.empty()) break;
    if (extra.rfind("-", 0) != 0 || extra == "-") {
      line.problem = UnknownCommandText(language, extra);
    } else if (const std::string owner = OwnerOf(app, extra.substr(0, extra.find('=')), given);
               !owner.empty() && given) {
      line.problem = NotAnOptionOfText(language, extra, line.command);
    } else {
      line.problem = UnknownOptionText(language, extra);
    }
  }
  return line;
}

}  // namespace tlhost
