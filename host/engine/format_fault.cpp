#include "host/engine/format_fault.h"

namespace tlhost {

std::string Diagnostic(const FormatFault& fault) {
  std::string out;
  if (fault.line > 0) out = "line " + std::to_string(fault.line) + ": ";
  out += "fault " + std::to_string(static_cast<int>(fault.code));
  for (const auto& [name, value] : fault.values) out += " " + name + "=" + value;
  return out;
}

}  // namespace tlhost
