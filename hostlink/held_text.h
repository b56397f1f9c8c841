// Text as the host can hold it in a paragraph or a marker: the host refuses every control
// character other than tab, line feed and carriage return, so each of those is shown as U+FFFD
// instead, never dropped and never turned into another character.
#pragma once

#include <string>

namespace osprevan::hostlink {

std::string HostHeldText(const std::string& utf8);

}  // namespace osprevan::hostlink
