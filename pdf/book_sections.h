// The book component that a section of a book's PDF stands for.
#pragma once

#include <string>

#include "tolvane/numbers.h"

namespace osprevan::pdf {

// The component of `book` named by a section's own type name "Article_<name>" (letter case
// ignored throughout): the first, in book order, with that name whose document's text lies on
// a body page. 0 for any other section name or when no component fits.
tolvane::ObjectId FindComponentBySection(tolvane::ObjectId book, const std::string& sectionName);

}  // namespace osprevan::pdf
