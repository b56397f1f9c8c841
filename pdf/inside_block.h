// Whether a position of the page text lies inside a block of a structured document's PDF (the
// text of an anchored frame, pdf/structured_blocks.h): there its place in the host cannot be
// told.
#pragma once

#include "pdf/text_range.h"

namespace osprevan::pdf {

bool InsideBlock(const TextPosition& position);

}  // namespace osprevan::pdf
