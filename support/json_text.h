// Text as a JSON string literal, for the files and lines the plug-in's tools write.
#pragma once

#include <string>

namespace osprevan::support {

// `utf8` quoted and escaped; bytes that are not valid UTF-8 become U+FFFD, so the result is
// always valid JSON.
std::string JsonQuoted(const std::string& utf8);

}  // namespace osprevan::support
