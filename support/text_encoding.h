// The text encoding the plug-in uses for strings it exchanges with the host: "TolvRoman" (the
// host's 8-bit encoding) until the link switches to "UTF-8".
#pragma once

#include <string>

namespace osprevan::support {

enum class TextEncoding { TolvRoman, Utf8 };

// Sets up the encoding table once; answers false when it was already set up.
bool SetUpEncodings();
bool EncodingsSetUp();

// Selects an encoding by its name ("TolvRoman" or "UTF-8"); false for an unknown name.
bool SelectEncoding(const std::string& name);
TextEncoding CurrentEncoding();
const char* CurrentEncodingName();

// Converts between the current encoding and UTF-8. TolvRoman is handled as an 8-bit
// encoding whose upper half is windows-1252, through ICU.
std::string ToUtf8(const std::string& text);
std::string FromUtf8(const std::string& utf8);

}  // namespace osprevan::support
