// What is wrong with a malformed document or book file, in the user's language: one table per
// language, keyed by the reader's fault codes, "{name}" standing for the fault's values.
#pragma once

#include <string>

#include "host/cli/ui_language.h"
#include "host/engine/format_fault.h"

namespace tlhost {

// The text of `code` in `language` as its table holds it; null when the table lacks it.
const char* FormatFaultTextOf(UiLanguage language, FormatFaultCode code);

// "line 4: unknown attribute "shade" on <p>"; without "line N: " for a fault of the whole file.
std::string FormatFaultText(UiLanguage language, const FormatFault& fault);

}  // namespace tlhost
