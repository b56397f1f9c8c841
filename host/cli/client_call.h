// The import as another client starts it: the text the plug-in is called with, and what the
// plug-in answers when it did not run. README.md ("Running the stand-in host") gives both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host/cli/ui_language.h"

namespace tlhost {

// Where the plug-in writes what it writes for the caller; unset: beside the PDF, as the plug-in
// chooses; an empty path: nowhere.
struct CallOutputs {
  std::optional<std::string> summary;
  std::optional<std::string> report;
  bool phases = false;  // the plug-in prints the time of each phase of the import on the console
};

// The PDF's path, then one field for each output named, each after the separator 0x1E:
// "summary=PATH", "report=PATH", and "phases=yes" when asked.
std::string ImportCallText(const std::string& pdfPath, const CallOutputs& outputs);

// The words for the reason the plug-in answered the call with: "no such file", "not tagged", ...
// in `language` (English for the report). Empty for 0 (no reason given) and for a number it does
// not define.
std::string RefusalWords(UiLanguage language, int32_t answer);

// Whether the reason is about the PDF (else about the document imported into).
bool RefusalIsAboutPdf(int32_t answer);

}  // namespace tlhost
