// The preferences file "pdfcomments.ini": the one setting that suppresses the first-use warning.
#pragma once

#include <cstdint>
#include <string>

namespace osprevan::session {

constexpr const char* kPreferencesFileName = "pdfcomments.ini";

// Parses preference text; the value is 0 unless a "DontShowInitialWarning" line sets it.
int32_t ParsePreferences(const std::string& contents);

// Sets `dontShowWarning` to 0, then reads it from the first directory that holds a readable
// file. Answers 0 when a file was read, non-zero when there was none.
int32_t ReadPreferences(int32_t& dontShowWarning);

// Writes the one line; 0 written, 1 not written.
int32_t WritePreferences(int32_t dontShowWarning);

}  // namespace osprevan::session
