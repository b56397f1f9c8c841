// Why a client library could not be connected, in the user's language: one table per language,
// keyed by the host's load fault codes, "{name}" standing for the fault's values.
#pragma once

#include <string>

#include "host/cli/ui_language.h"
#include "host/link/load_fault.h"

namespace tlhost {

// The text of `code` in `language` as its table holds it; null when the table lacks it.
const char* LoadFaultTextOf(UiLanguage language, LoadFaultCode code);

// "tolvane: cannot load client library PATH: CAUSE".
std::string LoadFaultText(UiLanguage language, const LoadFault& fault);

}  // namespace tlhost
