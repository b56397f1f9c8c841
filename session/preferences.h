// The preferences file "pdfcomments.ini": whether the first-use warning is suppressed, and
// whether an interactive import writes its per-comment report.
#pragma once

#include <cstdint>
#include <string>

#include "support/status.h"

namespace osprevan::session {

constexpr const char* kPreferencesFileName = "pdfcomments.ini";
constexpr const char* kWarningKey = "DontShowInitialWarning";
constexpr const char* kReportKey = "WriteReport";

struct Preferences {
  int32_t dontShowWarning = 0;
  int32_t writeReport = 0;
};

// The value of `key` in preference text: 1 when its last line says "Yes" (any case), else 0.
int32_t PreferenceValue(const std::string& contents, const char* key);
// The "DontShowInitialWarning" value.
int32_t ParsePreferences(const std::string& contents);

// Sets both values to 0, then reads them from the first directory that holds a readable file.
// Fails when there was none.
support::Status ReadPreferences(Preferences& preferences);

// Writes the warning's line, and the report's when it is on, into the first directory where
// the file can be written.
support::Status WritePreferences(const Preferences& preferences);

}  // namespace osprevan::session
