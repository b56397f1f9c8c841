// Positions in the page text that the content walk collects, and ranges between them.
#pragma once

#include <cstdint>

namespace osprevan::pdf {

struct ContentElement;

struct TextPosition {
  ContentElement* element = nullptr;  // not owned
  uint32_t offset = 0;
  uint32_t hostOffset = 0;
  bool atBlockEnd = false;
  bool operator==(const TextPosition&) const = default;
};

struct TextRange {
  TextPosition start;
  TextPosition end;
};

}  // namespace osprevan::pdf
