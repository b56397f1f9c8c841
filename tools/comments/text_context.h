// The document's text around a placement as the host holds it now: a bar at a point
// ("the old |mill"), brackets around a range ("the [old mill] turned"), so that a reader sees
// where a comment goes without counting offsets.
#pragma once

#include <cstddef>
#include <string>

#include "tolvane/numbers.h"
#include "tolvane/values.h"

namespace osprevan::tools {

// Up to `around` characters of the paragraph on either side. A range over two paragraphs shows
// the first from its begin to its end and the second up to the range's end, a line feed between.
// Items that are not text (markers, anchors) show as nothing; the paragraph end is not shown.
std::string TextContext(tolvane::ObjectId document, const tolvane::TTextLoc& begin,
                        const tolvane::TTextLoc& end, size_t around = 24);

}  // namespace osprevan::tools
