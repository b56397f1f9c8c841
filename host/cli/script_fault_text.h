// What is wrong with a dialog script, in the user's language: one table per language, keyed by
// the script reader's fault codes, "{name}" standing for the fault's values.
#pragma once

#include <string>

#include "host/cli/ui_language.h"
#include "host/dialogs/dialog_script.h"

namespace tlhost {

// The text of `code` in `language` as its table holds it; null when the table lacks it.
const char* ScriptFaultTextOf(UiLanguage language, ScriptFaultCode code);

// "line 3: unknown action wave".
std::string ScriptFaultText(UiLanguage language, const ScriptFault& fault);

}  // namespace tlhost
