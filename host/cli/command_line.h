// What the words given to "tolvane" ask for: the command, its arguments and options, read by
// one parser so that every command follows the same conventions (per-command help, --version,
// unknown options). A new option is one line in command_line.cpp and one field here.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/cli/ui_language.h"

namespace tlhost {

struct CommandLine {
  std::string command;                    // empty when none was given
  std::vector<std::string> words;         // the command's arguments that are not options
  std::optional<std::string> client;      // --client PATH
  std::optional<std::string> lang;        // --lang ja|en, as given
  std::optional<std::string> out;         // -o OUT (import, export-pdf)
  std::string dialogScript;               // run --dialogs SCRIPT
  std::optional<std::string> creator;     // export-pdf --creator TEXT
  std::vector<std::string> rotations;     // export-pdf --rotate PAGES=DEGREES, repeatable
  bool force = false;                     // export-pdf --force
  bool dryRun = false;                    // import --dry-run
  std::optional<std::string> report;      // import --report PATH
  std::optional<std::string> reviewPage;  // import --review-page PAGE
  std::optional<std::string> repeat;      // import --repeat N, as given
  bool phases = false;                    // import --phases
  std::optional<std::string> wait;        // import, run --wait SECONDS, as given
  bool help = false;                      // --help, or "help [CMD]"
  bool version = false;                   // --version
  std::string problem;                    // the first wrong use found; empty when none
};

// Reads argv. A wrong use is not an exception: it is left in `problem`, with the command when
// one was recognised, so that its usage can be shown; its words are in `language`.
CommandLine ParseCommandLine(int argc, const char* const* argv, UiLanguage language);

}  // namespace tlhost
