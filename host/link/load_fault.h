// Why a client library could not be connected, as a code and the values it speaks of; the
// command line words it in its user's language. Each code names in braces the values it carries.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tlhost {

enum class LoadFaultCode {
  None,
  CannotLoad,    // {path} {cause}: the loader's own words for why
  NoEntryPoint,  // {path} {symbol}
  Count          // not a fault: the number of codes
};

struct LoadFault {
  LoadFaultCode code = LoadFaultCode::None;
  std::vector<std::pair<std::string, std::string>> values;
};

}  // namespace tlhost
