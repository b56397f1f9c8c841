// What the command line says about its own use: the whole help, and each command's usage line
// for a wrong use of that command.
#pragma once

#include <string>

namespace tlhost {

// The text of --help.
std::string HelpText();

// "usage: tolvane COMMAND ..." for a known command, else an empty string.
std::string CommandUsage(const std::string& command);

}  // namespace tlhost
