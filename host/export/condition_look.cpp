#include "host/export/condition_look.h"

#include <algorithm>
#include <iterator>

namespace tlhost::pdfexport {
namespace {

// The host's reserved colours by code, from 1.
constexpr Rgb kReservedColours[] = {
    {0, 0, 0},  // Black
    {1, 1, 1},  // White
    {1, 1, 0},  // Yellow
    {1, 0, 0},  // Red
    {0, 1, 0},  // Green
    {0, 0, 1},  // Blue
    {0, 1, 1},  // Cyan
    {1, 0, 1},  // Magenta
};

// The colour of a condition's override, when it has one that stands for a value.
std::optional<Rgb> OverrideColour(const Document& d, const Condition& c) {
  return c.colourOverride ? ColourValue(d, c.overrideColour) : std::nullopt;
}

}  // namespace

std::optional<Rgb> ColourValue(const Document& document, ObjectId colour) {
  const Colour* found = Document::Find(document.colours, colour);
  if (!found || found->reserved < 1 ||
      found->reserved > static_cast<int32_t>(std::size(kReservedColours))) {
    return std::nullopt;
  }
  return kReservedColours[found->reserved - 1];
}

TextLook LookOf(const Document& document, const std::vector<ObjectId>& conditions) {
  TextLook look;
  for (ObjectId id : conditions) {
    const Condition* c = Document::Find(document.conditions, id);
    if (!c) continue;
    const std::optional<Rgb> colour = OverrideColour(document, *c);
    if (colour) look.colour = colour;
    if (c->backgroundOn) {
      if (std::optional<Rgb> background = ColourValue(document, c->backgroundColour)) {
        look.background = background;
      }
    }
    if (c->styleOverride == tolvane::STYLE_SINGLE_UNDERLINE) {
      look.underlines = std::max(look.underlines, 1);
    } else if (c->styleOverride == tolvane::STYLE_DOUBLE_UNDERLINE) {
      look.underlines = 2;
    }
    // Tracked changes draw their mark in their own colour: an inserted run's underline must
    // show as a change even where another condition colours the text.
    if (c->name == kAddedCondition) {
      look.underlines = std::max(look.underlines, 1);
      look.underlineColour = colour.value_or(kChangeColour);
    } else if (c->name == kDeletedCondition) {
      look.strike = colour.value_or(kChangeColour);
    }
  }
  return look;
}

}  // namespace tlhost::pdfexport
