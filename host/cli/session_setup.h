// Sets up a fresh host session as the command line runs it: product, version, directories and
// the client libraries to load.
#pragma once

#include <string>

#include "host/cli/ui_language.h"
#include "host/link/host.h"

namespace tlhost {

struct SessionSettings {
  std::string productName = "Tolvane";
  int versionMajor = 17;
  int versionMinor = 0;
  std::string clientPath;  // the plug-in library
  std::string hostDir;     // the host's directory (ICU data, second preferences directory)
  std::string userDir;     // the user's settings directory
  UiLanguage language = UiLanguage::English;  // the interface language the plug-in is told
};

// Defaults from the program's own location (build/bin/tolvane loads build/lib/libosprevan.so)
// and the user's locale settings.
SessionSettings DefaultSettings(const std::string& programPath);

// Applies the settings to the host's session.
void ApplySettings(Host& host, const SessionSettings& settings);

}  // namespace tlhost
