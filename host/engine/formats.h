// Named document-wide formats: colours, condition formats and marker types.
#pragma once

#include <cstdint>
#include <string>

#include "tolvane/numbers.h"

namespace tlhost {

struct Colour {
  tolvane::ObjectId id = 0;
  std::string name;
  int32_t reserved = 0;  // reserved-colour code, 0 for a colour of the user's
};

struct Condition {
  tolvane::ObjectId id = 0;
  std::string name;
  bool shown = true;
  bool colourOverride = false;
  tolvane::ObjectId overrideColour = 0;
  int32_t styleOverride = tolvane::STYLE_NONE;
  bool backgroundOn = false;
  tolvane::ObjectId backgroundColour = 0;
};

struct MarkerType {
  tolvane::ObjectId id = 0;
  std::string name;
};

}  // namespace tlhost
