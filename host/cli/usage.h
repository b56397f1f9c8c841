// What the command line says about its own use: the whole help, and each command's usage line
// for a wrong use of that command.
#pragma once

#include <string>

namespace tlhost {

// The text of --help.
std::string HelpText();

// The usage line of a known command and what it does, for "tolvane help COMMAND" and
// "tolvane COMMAND --help"; empty for an unknown command.
std::string CommandHelpText(const std::string& command);

// The text of --version.
std::string VersionText();

// "usage: tolvane COMMAND ..." for a known command, else an empty string.
std::string CommandUsage(const std::string& command);

}  // namespace tlhost
