// How the conditions on a run of text make it look on the page: text colour, a background
// behind the glyphs, lines under them and a line through them. Drawing only: the characters
// and their boxes stay those of plain text.
#pragma once

#include <cstddef>
#include <optional>

namespace tlhost::pdfexport {

// A colour with components from 0 to 1.
struct Rgb {
  double r = 0;
  double g = 0;
  double b = 0;
  bool operator==(const Rgb&) const = default;
};

struct TextLook {
  std::optional<Rgb> colour;           // the text colour; unset: the default one
  std::optional<Rgb> background;       // a filled rectangle behind the glyphs
  int underlines = 0;                  // 0, 1 or 2 lines under the text
  std::optional<Rgb> underlineColour;  // unset: the text colour
  std::optional<Rgb> strike;           // a line through the middle of the glyphs
  bool operator==(const TextLook&) const = default;
  bool Plain() const { return *this == TextLook{}; }
};

// A look over bytes [begin, end) of a segment's text.
struct LookRange {
  size_t begin = 0;
  size_t end = 0;
  TextLook look;
};

}  // namespace tlhost::pdfexport
