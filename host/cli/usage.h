// What the command line says about its own use, in the user's language: the whole help, and
// each command's usage line for a wrong use of that command. The commands' names, synopses and
// option names are the same in every language.
#pragma once

#include <string>

#include "host/cli/ui_language.h"

namespace tlhost {

// The text of --help.
std::string HelpText(UiLanguage language);

// The usage line of a known command and what it does, for "tolvane help COMMAND" and
// "tolvane COMMAND --help"; empty for an unknown command.
std::string CommandHelpText(UiLanguage language, const std::string& command);

// The text of --version.
std::string VersionText(UiLanguage language);

// "usage: tolvane COMMAND ..." for a known command, else an empty string.
std::string CommandUsage(UiLanguage language, const std::string& command);

}  // namespace tlhost
